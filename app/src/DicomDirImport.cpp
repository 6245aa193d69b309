#include "DicomDirImport.h"

#include "AfxWinApp.h"
#include "DICOMDIRView.h"
#include "DICOMImage.h"

#include <cstdio>
#include <string>

namespace
{
bool IsUserInput(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

std::string ModalityOf(const Corvane& holder)
{
    const DICOMImage* pImage = holder.GetDicomFile();
    return pImage != nullptr ? std::string(pImage->GetLettra(0x0008, 0x0060)) : std::string();
}
} // namespace

int CDicomDirImport::ImportSelection(CDICOMDIRView* pView, IDicomDirImportTarget& target)
{
    if (pView == nullptr || !::IsWindow(pView->m_hWnd))
        return 0;
    if (!pView->IsReview())
        target.ClearScreen();
    ImportHolders(pView->GetHolders(), target);
    return 1;
}

WPARAM CDicomDirImport::OpenModeOf(Corvane::enGroupBy enGroup)
{
    switch (enGroup)
    {
    case Corvane::enGroupByStudy:
        return 'f';
    case Corvane::enGroupBySeries:
        return 'e';
    default:
        return 'd';
    }
}

CString CDicomDirImport::ProgressText(LPARAM lPosition)
{
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%ld", static_cast<long>(lPosition) + 1);
    return CString(szText);
}

void CDicomDirImport::ChooseLayouts(Corvane& first, IDicomDirImportTarget& target)
{
    std::string modality = ModalityOf(first);
    if (modality.empty())
    {
        first.ReadFileNoImage();
        modality = ModalityOf(first);
    }
    if (modality == "DX" || modality == "CR" || modality == "MG")
    {
        target.SetViewLayout(1, 1);
        target.SetSeriesLayout(1, 2);
    }
    else
    {
        target.SetViewLayout(2, 2);
        target.SetSeriesLayout(1, 1);
    }
}

int CDicomDirImport::ImportHolders(std::list<Corvane>& holders, IDicomDirImportTarget& target)
{
    const HWND hView = target.GetActiveViewWindow();
    const HWND hFrame = target.GetFrameWindow();
    // One import at a time: a message run by the pump may ask for another.
    if (hView == nullptr || holders.empty() || m_bImporting)
        return 0;
    m_bImporting = true;
    m_bQuit = false;
    target.SetLoading(true);
    ChooseLayouts(holders.front(), target);
    LPARAM lPosition = 0;
    for (Corvane& holder : holders)
    {
        CWaitCursor wait;
        ::SendMessageA(hView, WM_OPEN_HOLDER, OpenModeOf(holder.GetGroup()),
                       reinterpret_cast<LPARAM>(&holder));
        ::PostMessageA(hFrame, WM_IMPORT_PROGRESS, 0, lPosition++);
        if (!PumpImportMessages(hFrame, hView))
            break;
    }
    m_bImporting = false;
    if (::IsWindow(hFrame))
    {
        target.FinishImport();
        target.SetLoading(false);
    }
    // The program's own loop ends on the quit the import took out.
    if (m_bQuit)
        ::PostQuitMessage(m_nQuitCode);
    return 1;
}

bool CDicomDirImport::PumpImportMessages(HWND hFrame, HWND hView)
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            m_bQuit = true;
            m_nQuitCode = static_cast<int>(msg.wParam);
            return false;
        }
        if (IsUserInput(msg.message))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (!::IsWindow(hFrame) || !::IsWindow(hView))
            return false;
    }
    return ::IsWindow(hFrame) && ::IsWindow(hView);
}
