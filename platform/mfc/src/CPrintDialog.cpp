#include "AfxPrint.h"

#include "WinDialog.h"

#include <string>

IMPLEMENT_DYNAMIC(CPrintDialog, CWnd)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
{
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.hwndOwner = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    m_pd.Flags = dwFlags | PD_RETURNDC;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDevNames != nullptr)
        GlobalFree(m_pd.hDevNames);
}

BOOL CPrintDialog::Run()
{
    if (m_pd.hwndOwner == nullptr)
        m_pd.hwndOwner = ::GetActiveWindow();
    return ::PrintDlgA(&m_pd);
}

INT_PTR CPrintDialog::DoModal()
{
    return Run() ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    m_pd.Flags |= PD_RETURNDEFAULT;
    const BOOL bDone = Run();
    m_pd.Flags &= ~DWORD(PD_RETURNDEFAULT);
    return bDone;
}

CString CPrintDialog::GetDeviceName() const
{
    std::string destination;
    std::string output;
    ReadDevNames(m_pd.hDevNames, destination, output);
    return CString(destination.c_str());
}

CString CPrintDialog::GetPortName() const
{
    std::string destination;
    std::string output;
    ReadDevNames(m_pd.hDevNames, destination, output);
    return CString(output.c_str());
}

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION))
{
    m_pPD->m_pd.nMinPage = 1;
    m_pPD->m_pd.nMaxPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo()
{
    delete m_pPD;
}

UINT CPrintInfo::GetFromPage() const
{
    return m_pPD->PrintRange() ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const
{
    return m_pPD->PrintRange() ? m_pPD->m_pd.nToPage : GetMaxPage();
}
