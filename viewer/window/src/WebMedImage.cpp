#include "WebMedImage.h"

#include "CWebWindow.h"
#include "ViewLabel.h"

IMPLEMENT_DYNCREATE(WebMedImage, WebMedImageBase)

WebMedImage::WebMedImage()
{
    SetAutoFocus(true);
}

void WebMedImage::BuildImageLabels(ImageShow* show)
{
    WebMedImageBase::BuildImageLabels(show);
    const Lettra& prompt = CWebWindow::GetPromptText();
    if (!prompt.IsEmpty())
    {
        GetLabels(ViewLabel::enTopLeft).AddHead(new ViewLabel(ViewLabel::enTopLeft, prompt));
    }
}
