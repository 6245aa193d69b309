// WebMedImage: the pane of the web view. It takes the keyboard focus when
// the pointer moves over it, runs the wider web tool set on its left and
// right buttons, and puts the host's prompt text at the head of its labels.
#pragma once

#include "RefLineMedImage.h"

using WebMedImageBase = RefLineMedImage;

class QUILLON_API WebMedImage : public WebMedImageBase
{
    DECLARE_DYNCREATE(WebMedImage)

public:
    WebMedImage();

    void BuildImageLabels(ImageShow* show) override;
    // The host's prompt text, shown first among the labels; empty when the
    // host set none.
    const Lettra& GetPromptText() const;
    // Puts a non-empty prompt at the head of a pane's upper left labels.
    static void AddPromptLabel(CViewPort& pane, const Lettra& prompt);

    // The icons of the shown image's state flags, in the lower right
    // corner: the annotated one rightmost, the handed-over one beside it.
    static constexpr UINT AnnotatedIcon = 149;
    static constexpr UINT HandedOverIcon = 148;

protected:
    void DrawDecorations(CDC* pDC, RECT* client) override;
};
