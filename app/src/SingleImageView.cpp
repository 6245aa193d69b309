#include "SingleImageView.h"

#include "Corvane.h"
#include "DicomDirImport.h"
#include "DicomLookupTable.h"
#include "ImageShow.h"
#include "MedImage.h"
#include "MetaImage.h"
#include "PelivoRunResources.h"

#include <utility>

IMPLEMENT_DYNCREATE(CSingleImageView, CView)

BEGIN_MESSAGE_MAP(CSingleImageView, CView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_OPEN_HOLDER, OnOpenCorvane)
ON_MESSAGE(WM_SET_PROMPT_TEXT, OnSetPromptText)
END_MESSAGE_MAP()

namespace
{
constexpr UINT kPaneId = 1;
} // namespace

CSingleImageView::CSingleImageView() = default;

CSingleImageView::~CSingleImageView() = default;

int CSingleImageView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pPane = new MedImage;
    if (!m_pPane->Create(nullptr, "ViewPort@0", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this,
                         kPaneId))
    {
        delete m_pPane;
        m_pPane = nullptr;
        return -1;
    }
    m_pPane->SetLeftButtonTool(m_nLeftTool);
    m_pPane->SetRightButtonTool(m_nRightTool);
    return 0;
}

void CSingleImageView::OnDestroy()
{
    if (m_pPane != nullptr)
    {
        m_pPane->DetachShow();
        m_pPane->DestroyWindow();
        delete m_pPane;
        m_pPane = nullptr;
    }
    m_shows.clear();
    CView::OnDestroy();
}

void CSingleImageView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (m_pPane != nullptr && cx > 0 && cy > 0)
        m_pPane->MoveWindow(0, 0, cx, cy);
}

BOOL CSingleImageView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CSingleImageView::OnDraw(CDC*) {}

LRESULT CSingleImageView::OnOpenCorvane(WPARAM, LPARAM lParam)
{
    auto* pHolder = reinterpret_cast<Corvane*>(lParam);
    if (pHolder == nullptr || m_pPane == nullptr)
        return 0;
    auto show = std::make_unique<ImageShow>();
    show->AttachCorvane(*pHolder, 0);
    m_shows.push_back(std::move(show));
    ShowImageAt(static_cast<int>(m_shows.size()) - 1);
    return 0;
}

LRESULT CSingleImageView::OnSetPromptText(WPARAM, LPARAM lParam)
{
    m_strPrompt = reinterpret_cast<const char*>(lParam);
    return 1;
}

ImageShow* CSingleImageView::GetHotShow() const
{
    return m_nHot >= 0 ? m_shows[static_cast<size_t>(m_nHot)].get() : nullptr;
}

bool CSingleImageView::ShowImageAt(int nIndex)
{
    if (m_pPane == nullptr || nIndex < 0 || nIndex >= static_cast<int>(m_shows.size()))
        return false;
    m_nHot = nIndex;
    m_pPane->DetachShow();
    m_pPane->AttachShow(GetHotShow());
    ApplyLayers();
    return true;
}

void CSingleImageView::ApplyLayers()
{
    if (m_bLabels)
        m_pPane->ShowLabels();
    else
        m_pPane->HideLabels();
    m_pPane->ShowOverlays(m_bOverlays);
    m_pPane->ShowRuler(m_bRuler);
    m_pPane->Invalidate(FALSE);
}

bool CSingleImageView::IsRulerShown() const
{
    return m_pPane != nullptr && m_pPane->IsRulerShown();
}

bool CSingleImageView::AreOverlaysShown() const
{
    return m_pPane != nullptr && m_pPane->AreOverlaysShown();
}

// ---- Grid and layouts: one pane shows them all ----------------------------

bool CSingleImageView::CreateView(int nRows, int nColumns)
{
    return nRows >= 1 && nColumns >= 1;
}

bool CSingleImageView::SetViewLayout(int nRows, int nColumns)
{
    if (nRows < 1 || nColumns < 1)
        return false;
    m_nRows = nRows;
    m_nColumns = nColumns;
    return true;
}

bool CSingleImageView::GetViewLayout(int& nRows, int& nColumns)
{
    nRows = m_nRows;
    nColumns = m_nColumns;
    return true;
}

bool CSingleImageView::SetSeriesLayout(int nFirst, int nSecond)
{
    m_nFirst = nFirst;
    m_nSecond = nSecond;
    return true;
}

bool CSingleImageView::GetImageLayout(int& nFirst, int& nSecond)
{
    nFirst = m_nFirst;
    nSecond = m_nSecond;
    return true;
}

// ---- What is shown --------------------------------------------------------

void CSingleImageView::ClearScreen()
{
    if (m_pPane != nullptr)
    {
        m_pPane->DetachShow();
        m_pPane->Invalidate(FALSE);
    }
    m_shows.clear();
    m_nHot = -1;
    m_nRows = 1;
    m_nColumns = 1;
}

void CSingleImageView::CloseHotImage()
{
    if (m_nHot < 0)
        return;
    m_pPane->DetachShow();
    m_shows.erase(m_shows.begin() + m_nHot);
    const int nNext = m_nHot < static_cast<int>(m_shows.size()) ? m_nHot : m_nHot - 1;
    m_nHot = -1;
    if (!ShowImageAt(nNext))
        m_pPane->Invalidate(FALSE);
}

bool CSingleImageView::IsHotImageEmpty()
{
    return GetHotShow() == nullptr;
}

int CSingleImageView::GetNbOfImage()
{
    return static_cast<int>(m_shows.size());
}

int CSingleImageView::IndexOfHotImage()
{
    return m_nHot;
}

CString CSingleImageView::GetHotImageDicomValue(unsigned short nGroup, unsigned short nElement)
{
    const ImageShow* pShow = GetHotShow();
    return pShow != nullptr ? CString(pShow->GetDicomValue(nGroup, nElement)) : CString();
}

void CSingleImageView::ShowLabels(bool bShow)
{
    m_bLabels = bShow;
    if (m_pPane != nullptr)
        ApplyLayers();
}

void CSingleImageView::ShowOverlays(bool bShow)
{
    m_bOverlays = bShow;
    if (m_pPane != nullptr)
        ApplyLayers();
}

void CSingleImageView::ShowRuler(bool bShow)
{
    m_bRuler = bShow;
    if (m_pPane != nullptr)
        ApplyLayers();
}

void CSingleImageView::ClearAllImageAnnotation()
{
    if (m_pPane != nullptr && GetHotShow() != nullptr)
    {
        m_pPane->ClearAnnotations();
        m_pPane->Invalidate(FALSE);
    }
}

// ---- Paging: one image a page ---------------------------------------------

bool CSingleImageView::PageDown()
{
    return ShowImageAt(m_nHot + 1);
}

bool CSingleImageView::PageUp()
{
    return ShowImageAt(m_nHot - 1);
}

bool CSingleImageView::FirstPage()
{
    return ShowImageAt(0);
}

bool CSingleImageView::LastPage()
{
    return ShowImageAt(static_cast<int>(m_shows.size()) - 1);
}

bool CSingleImageView::LineDown()
{
    return PageDown();
}

bool CSingleImageView::LineUp()
{
    return PageUp();
}

bool CSingleImageView::ImageDown()
{
    return PageDown();
}

bool CSingleImageView::ImageUp()
{
    return PageUp();
}

// ---- Image operations -----------------------------------------------------

void CSingleImageView::SetScope(int nScope)
{
    m_nScope = nScope == 1 ? 1 : 0;
}

void CSingleImageView::Rotate(int nQuarterTurns)
{
    if (GetHotShow() != nullptr && nQuarterTurns >= 1 && nQuarterTurns <= 3)
        m_pPane->Rotate(nQuarterTurns);
}

void CSingleImageView::FlipHorizontal()
{
    if (GetHotShow() != nullptr)
        m_pPane->FlipHorizontal();
}

void CSingleImageView::FlipVertical()
{
    if (GetHotShow() != nullptr)
        m_pPane->FlipVertical();
}

void CSingleImageView::Invert()
{
    if (GetHotShow() != nullptr)
        m_pPane->Invert();
}

void CSingleImageView::ZoomFitInWindow()
{
    if (GetHotShow() != nullptr)
        m_pPane->ZoomFitInWindow();
}

void CSingleImageView::ZoomPixelByPixel()
{
    if (GetHotShow() != nullptr)
        m_pPane->ZoomPixelByPixel();
}

void CSingleImageView::ZoomIn()
{
    if (GetHotShow() != nullptr)
        m_pPane->ZoomIn();
}

void CSingleImageView::ZoomOut()
{
    if (GetHotShow() != nullptr)
        m_pPane->ZoomOut();
}

void CSingleImageView::RestoreHotImage()
{
    if (GetHotShow() != nullptr)
        m_pPane->Restore();
}

void CSingleImageView::RestoreHotView()
{
    RestoreHotImage();
}

void CSingleImageView::SetLeftButton(int nTool)
{
    m_nLeftTool = nTool;
    if (m_pPane != nullptr)
        m_pPane->SetLeftButtonTool(nTool);
}

void CSingleImageView::SetRightButton(int nTool)
{
    m_nRightTool = nTool;
    if (m_pPane != nullptr)
        m_pPane->SetRightButtonTool(nTool);
}

bool CSingleImageView::SetWindowLevel(int nWidth, int nLevel)
{
    if (GetHotShow() == nullptr)
        return false;
    m_pPane->SetWindowLevel(nWidth, nLevel);
    return true;
}

bool CSingleImageView::AutoWindowLevel()
{
    return GetHotShow() != nullptr && m_pPane->AutoWindowLevel();
}

CString CSingleImageView::GetOriginalLUTDescription()
{
    const ImageShow* pShow = GetHotShow();
    const MetaImage* pImage = pShow != nullptr ? pShow->GetMetaImage() : nullptr;
    CString strText;
    if (pImage == nullptr)
        return strText;
    const LUTList& tables = pImage->GetLUTs();
    for (int i = 0; i < tables.GetCount(); ++i)
    {
        if (i > 0)
            strText += "|";
        strText += static_cast<const char*>(tables.GetAt(i)->GetDescription());
    }
    return strText;
}

bool CSingleImageView::SelectLUT(int nIndex)
{
    return GetHotShow() != nullptr && m_pPane->SelectLUT(nIndex);
}

bool CSingleImageView::SaveHotImageAsDicomFile(const char* pszPath)
{
    ImageShow* pShow = GetHotShow();
    return pShow != nullptr && pShow->SaveAsDicomFile(pszPath);
}

bool CSingleImageView::SaveHotImageAsBitmap(const char* pszPath)
{
    return GetHotShow() != nullptr && m_pPane->SaveAsBitmap(pszPath);
}

bool CSingleImageView::SaveHotImageAsJPEG(const char* pszPath)
{
    return GetHotShow() != nullptr && m_pPane->SaveAsJPEG(pszPath);
}

void CSingleImageView::CopyHotImageToClipboard()
{
    if (GetHotShow() != nullptr)
        m_pPane->CopyToClipboard();
}

void CSingleImageView::CopyHotImage()
{
    // One pane has no other view to copy into.
}

std::unique_ptr<ICinePlayer> CSingleImageView::MakeCinePlayer()
{
    return nullptr;
}
