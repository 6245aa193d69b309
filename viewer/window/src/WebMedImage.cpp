#include "WebMedImage.h"

#include "CWebWindow.h"
#include "ViewLabel.h"
#include "WebTaskSet.h"

IMPLEMENT_DYNCREATE(WebMedImage, WebMedImageBase)

WebMedImage::WebMedImage()
{
    m_pLeftTasks = std::make_unique<WebTaskSet>(this);
    m_pRightTasks = std::make_unique<WebTaskSet>(this);
    m_pRightTasks->SetTool(MouseTaskSet::enWindowLevelTool);
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
