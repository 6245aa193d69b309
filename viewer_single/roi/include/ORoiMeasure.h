// Base of the measurements: each owns the note that shows its result and,
// for a region, the statistics under it.
#pragma once

#include "ORoiNote.h"
#include "RoiStatistics.h"

#include <memory>

namespace pelivo
{

class ORoiMeasure : public ORoiItem
{
public:
    ORoiMeasure(RoiOwner* owner, int kind);
    ~ORoiMeasure() override;

    void EnsureStatistics() override;
    void InvalidateStatistics() override;
    virtual void ComputeStatistics();

    // Makes the note of the result and links it.
    virtual void CreateLabel() = 0;
    virtual Lettra GetLabelText() const = 0;

    ORoiNote* GetNote() const;
    const RoiStatistics* GetStatistics() const { return m_statistics.get(); }

protected:
    // A note (not editable) at that point holding the label text, linked.
    ORoiNote* MakeNote(int x, int y);
    void SetNoteTexts();
    // Stores the number and names the measurement from it unless it is 0.
    void NumberAs(int number, const char* nameFormat);
    void CloneNoteInto(ORoiMeasure& copy, RoiOwner* owner) const;

    std::unique_ptr<RoiStatistics> m_statistics;
    std::unique_ptr<RoiMask> m_mask;
    std::uint8_t m_statisticsValid = 0;
};

} // namespace pelivo
