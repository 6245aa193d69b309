#include "WebMedImage.h"

#include "CWebWindow.h"
#include "ImageShow.h"
#include "QuillonLibrary.h"
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
    AddPromptLabel(*this, GetPromptText());
}

const Lettra& WebMedImage::GetPromptText() const
{
    return CWebWindow::GetPromptText();
}

void WebMedImage::AddPromptLabel(CViewPort& pane, const Lettra& prompt)
{
    if (!prompt.IsEmpty())
    {
        pane.GetLabels(ViewLabel::enTopLeft).AddHead(new ViewLabel(ViewLabel::enTopLeft, prompt));
    }
}

void WebMedImage::DrawDecorations(CDC* pDC, RECT* client)
{
    WebMedImageBase::DrawDecorations(pDC, client);
    const ImageShow* show = GetShow();
    if (show == nullptr || show->IsEmpty())
    {
        return;
    }
    const std::uint32_t flags = show->GetIconFlags();
    const int top = client->bottom - 27;
    int right = client->right;
    if ((flags & ImageShow::enIconAnnotated) != 0)
    {
        ::DrawIcon(pDC->GetSafeHdc(), right - 30, top, GetQuillonIcon(AnnotatedIcon));
        right -= 24;
    }
    if ((flags & ImageShow::enIconHandedOver) != 0)
    {
        ::DrawIcon(pDC->GetSafeHdc(), right - 30, top, GetQuillonIcon(HandedOverIcon));
    }
}
