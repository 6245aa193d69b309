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
};
