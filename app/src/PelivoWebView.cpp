#include "PelivoWebView.h"

#include "Array.h"
#include "CImageView.h"
#include "CineControl.h"
#include "LookupTableNames.h"

IMPLEMENT_DYNCREATE(CPelivoWebView, CWebWindow)

namespace
{
class CCinePlayer : public ICinePlayer
{
public:
    explicit CCinePlayer(CWebWindow* pWindow) { m_cine.AttachWindow(pWindow); }
    bool Prepare() override { return m_cine.Prepare(); }
    bool Next() override { return m_cine.Next(); }
    void PlayUp() override { m_cine.PlayUp(); }
    void PlayDown() override { m_cine.PlayDown(); }
    void PlayBounce() override { m_cine.PlayBounce(); }
    bool Quit(bool bNotify) override { return m_cine.Quit(bNotify); }
    int GetIndex() const override { return m_cine.GetIndex(); }

private:
    CineControl m_cine;
};
} // namespace

bool CPelivoWebView::CreateView(int nRows, int nColumns)
{
    return CWebWindow::CreateView(nRows, nColumns);
}

bool CPelivoWebView::SetViewLayout(int nRows, int nColumns)
{
    return CWebWindow::SetViewLayout(nRows, nColumns);
}

bool CPelivoWebView::GetViewLayout(int& nRows, int& nColumns)
{
    return CWebWindow::GetViewLayout(nRows, nColumns);
}

bool CPelivoWebView::SetSeriesLayout(int nFirst, int nSecond)
{
    return CWebWindow::SetSeriesLayout(nFirst, nSecond);
}

bool CPelivoWebView::GetImageLayout(int& nFirst, int& nSecond)
{
    return CWebWindow::GetImageLayout(nFirst, nSecond);
}

void CPelivoWebView::ClearScreen()
{
    CWebWindow::ClearScreen();
}

void CPelivoWebView::CloseHotImage()
{
    CWebWindow::CloseHotImage();
}

bool CPelivoWebView::IsHotImageEmpty()
{
    return CWebWindow::IsHotImageEmpty();
}

int CPelivoWebView::GetNbOfImage()
{
    return CWebWindow::GetNbOfImage();
}

int CPelivoWebView::IndexOfHotImage()
{
    return CWebWindow::IndexOfHotImage();
}

CString CPelivoWebView::GetHotImageDicomValue(unsigned short nGroup, unsigned short nElement)
{
    return CWebWindow::GetHotImageDicomValue(nGroup, nElement);
}

void CPelivoWebView::ShowLabels(bool bShow)
{
    CWebWindow::ShowLabels(bShow);
}

void CPelivoWebView::ShowOverlays(bool bShow)
{
    CWebWindow::ShowOverlays(bShow);
}

void CPelivoWebView::ShowRuler(bool bShow)
{
    Array<CImageView*> views;
    GetAllVisibleView(views);
    for (auto* pNode = views.GetHead(); pNode != nullptr; pNode = pNode->next)
        if (pNode->item != nullptr)
            pNode->item->ShowRuler(bShow);
}

void CPelivoWebView::ClearAllImageAnnotation()
{
    CWebWindow::ClearAllImageAnnotation();
}

bool CPelivoWebView::PageDown()
{
    return CWebWindow::PageDown();
}

bool CPelivoWebView::PageUp()
{
    return CWebWindow::PageUp();
}

bool CPelivoWebView::FirstPage()
{
    return CWebWindow::FirstPage();
}

bool CPelivoWebView::LastPage()
{
    return CWebWindow::LastPage();
}

bool CPelivoWebView::LineDown()
{
    return CWebWindow::LineDown();
}

bool CPelivoWebView::LineUp()
{
    return CWebWindow::LineUp();
}

bool CPelivoWebView::ImageDown()
{
    return CWebWindow::ImageDown();
}

bool CPelivoWebView::ImageUp()
{
    return CWebWindow::ImageUp();
}

void CPelivoWebView::SetScope(int nScope)
{
    CWebWindow::SetScope(nScope);
}

int CPelivoWebView::GetScope()
{
    return CWebWindow::GetScope();
}

void CPelivoWebView::Rotate(int nQuarterTurns)
{
    CWebWindow::Rotate(nQuarterTurns);
}

void CPelivoWebView::FlipHorizontal()
{
    CWebWindow::FlipHorizontal();
}

void CPelivoWebView::FlipVertical()
{
    CWebWindow::FlipVertical();
}

void CPelivoWebView::Invert()
{
    CWebWindow::Invert();
}

void CPelivoWebView::ZoomFitInWindow()
{
    CWebWindow::ZoomFitInWindow();
}

void CPelivoWebView::ZoomPixelByPixel()
{
    CWebWindow::ZoomPixelByPixel();
}

void CPelivoWebView::ZoomIn()
{
    CWebWindow::ZoomIn();
}

void CPelivoWebView::ZoomOut()
{
    CWebWindow::ZoomOut();
}

void CPelivoWebView::RestoreHotImage()
{
    if (CImageView* pView = GetHotView())
        pView->RestoreHotImage();
}

void CPelivoWebView::RestoreHotView()
{
    CWebWindow::RestoreHotView();
}

void CPelivoWebView::SetLeftButton(int nTool)
{
    CWebWindow::SetLeftButton(nTool);
}

void CPelivoWebView::SetRightButton(int nTool)
{
    CWebWindow::SetRightButton(nTool);
}

int CPelivoWebView::GetLeftButton()
{
    return CWebWindow::GetLeftButton();
}

int CPelivoWebView::GetRightButton()
{
    return CWebWindow::GetRightButton();
}

bool CPelivoWebView::SetWindowLevel(int nWidth, int nLevel)
{
    return CWebWindow::SetWindowLevel(nWidth, nLevel);
}

bool CPelivoWebView::AutoWindowLevel()
{
    CImageView* pView = GetHotView();
    if (pView == nullptr)
        return false;
    pView->AutoWindowLevel();
    return true;
}

CString CPelivoWebView::GetOriginalLUTDescription()
{
    return DescribeLookupTables(GetHotImageShow());
}

bool CPelivoWebView::SelectLUT(int nIndex)
{
    CImageView* pView = GetHotView();
    return pView != nullptr && pView->SelectLUT(nIndex);
}

bool CPelivoWebView::SaveHotImageAsDicomFile(const char* pszPath)
{
    return CWebWindow::SaveHotImageAsDicomFile(pszPath);
}

bool CPelivoWebView::SaveHotImageAsBitmap(const char* pszPath)
{
    return CWebWindow::SaveHotImageAsBitmap(pszPath);
}

bool CPelivoWebView::SaveHotImageAsJPEG(const char* pszPath)
{
    return CWebWindow::SaveHotImageAsJPEG(pszPath);
}

void CPelivoWebView::CopyHotImageToClipboard()
{
    CWebWindow::CopyHotImageToClipboard();
}

void CPelivoWebView::CopyHotImage()
{
    CWebWindow::CopyHotImage();
}

std::unique_ptr<ICinePlayer> CPelivoWebView::MakeCinePlayer()
{
    return std::make_unique<CCinePlayer>(this);
}
