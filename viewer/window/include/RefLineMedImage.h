// RefLineMedImage: an image pane that also shows where the planes of other
// images cut its own. It owns its reference lines: they go when they are
// removed, when the pane gets or releases an image, and with the pane; the
// pane's flips and turns carry them along. They are drawn after the image,
// their labels thinned out so that neighbouring labels keep about one text
// height apart.
#pragma once

#include "Array.h"
#include "MedImage.h"

class ORoiRefLine;

class QUILLON_API RefLineMedImage : public MedImage
{
    DECLARE_DYNCREATE(RefLineMedImage)

public:
    // The command that keeps copies of the lines as ordinary annotations.
    static constexpr UINT CmdCopyRefLines = 4065;

    RefLineMedImage();
    ~RefLineMedImage() override;

    // Takes the line over: fitted to the image's orientation and kept, and
    // drawn at once when asked; deleted when the pane shows no image.
    void AddRefLine(ORoiRefLine* line, bool drawAtOnce);
    // The show-lines switch; the pane is painted again.
    void ShowRefLines(bool show);
    bool IsRefLinesShown() const { return m_bShowRefLines; }
    void DeleteRefLines();
    const Array<ORoiRefLine*>& GetRefLines() const { return m_RefLines; }
    void DrawRefLines(CDC* pDC);
    // Handler of the pane's paint event.
    void AfterDraw_RefLine(const void* sender, DelegateArgs* args);

    void FlipHorizontal() override;
    void FlipVertical() override;
    void Rotate(int quarterTurns) override;
    bool AttachShow(ImageShow* show) override;
    void ReleaseImageData() override;

protected:
    afx_msg void OnCopyRefLines();
    DECLARE_MESSAGE_MAP()

private:
    DelegateHandler* MakeRefLineHandler();
    // The position of the first line whose first end lies, on screen,
    // farther than the height from the first line's; 0 when none does.
    int FirstDistantLine(int height) const;
    template <class Operation> void ForEachRefLine(Operation operation);

    bool m_bShowRefLines = false;
    Array<ORoiRefLine*> m_RefLines;
};
