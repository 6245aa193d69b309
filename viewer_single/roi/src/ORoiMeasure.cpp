#include "ORoiMeasure.h"

namespace pelivo
{

namespace
{

constexpr COLORREF MeasureColour = 0x00FF00;

} // namespace

ORoiMeasure::ORoiMeasure(RoiOwner* owner, int kind) : ORoiItem(owner)
{
    m_kind = kind;
    m_style->colour = MeasureColour;
    if (owner != nullptr)
    {
        m_number = owner->GetNextRoiNumber();
    }
}

ORoiMeasure::~ORoiMeasure()
{
    ORoiNote* note = GetNote();
    Unlink();
    delete note;
}

void ORoiMeasure::EnsureStatistics()
{
    if (!m_statisticsValid)
    {
        UpdateLabel();
    }
}

void ORoiMeasure::InvalidateStatistics()
{
    m_statisticsValid = 0;
    UpdateLabel();
}

void ORoiMeasure::ComputeStatistics()
{
    if (m_owner == nullptr || !m_owner->HasImage() || !m_owner->HasPane())
    {
        return;
    }
    m_mask = std::make_unique<RoiMask>(BuildRoiMask(m_kind, m_bounds));
    if (!m_statistics)
    {
        m_statistics = std::make_unique<RoiStatistics>();
    }
    ComputeRoiStatistics(*m_mask, m_bounds, m_owner, *m_statistics);
}

ORoiNote* ORoiMeasure::GetNote() const
{
    return m_label != nullptr && m_label->GetKind() == enRoiNote ? static_cast<ORoiNote*>(m_label)
                                                                 : nullptr;
}

ORoiNote* ORoiMeasure::MakeNote(int x, int y)
{
    auto* note = new ORoiNote(m_owner, x, y, GetLabelText(), Lettra());
    note->SetEditable(false);
    Link(note);
    return note;
}

void ORoiMeasure::SetNoteTexts()
{
    if (ORoiNote* note = GetNote())
    {
        note->SetText(GetLabelText());
        note->SetSecondText(Lettra());
    }
}

void ORoiMeasure::NumberAs(int number, const char* nameFormat)
{
    m_number = number;
    if (number != 0)
    {
        m_name.Format(nameFormat, number);
    }
}

void ORoiMeasure::CloneNoteInto(ORoiMeasure& copy, RoiOwner* owner) const
{
    if (const ORoiNote* note = GetNote())
    {
        copy.Link(note->Clone(owner));
    }
}

} // namespace pelivo
