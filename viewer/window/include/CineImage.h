// CineImage: the pane cine plays in, laid over a view's hot pane. A busy
// flag keeps a paint that arrives while a frame is being built from showing
// half of it, and a frame asked for while painting from starting; such a
// request is dropped, not queued.
//
// Each frame is rendered from a copy of the series image and only its
// picture and labels are kept: the pane never holds on to, nor writes into,
// the images of the series, which the view may delete or change while the
// picture is still on screen.
#pragma once

#include "MedImage.h"
#include "WinTypes.h"

class QUILLON_API CineImage : public MedImage
{
    DECLARE_DYNCREATE(CineImage)

public:
    CineImage();
    ~CineImage() override;

    // Shows one frame; nothing for a null image or while busy.
    void DoCineShow(ImageShow* image);
    bool IsBusy() const { return m_nBusy != 0; }
    // How many frames were shown.
    int GetFrameCount() const { return m_nFrames; }
    // The prompt of the pane played over, which stays in sight during cine
    // as the first of the frame's labels; empty for none.
    void SetPromptText(const Lettra& prompt) { m_strPrompt = prompt; }
    const Lettra& GetPromptText() const { return m_strPrompt; }

    void BuildImageLabels(ImageShow* show) override;

    // Only validates the window while busy.
    void Draw(CDC* pDC) override;
    // The picture of the last frame on black.
    void DrawImage(CDC* pDC) override;

private:
    bool TakeBusy();
    void FreeBusy();
    void RenderFrame(ImageShow& frame);

    volatile LONG m_nBusy = 0;
    int m_nFrames = 0;
    Lettra m_strPrompt;
};
