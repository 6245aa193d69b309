// Window hooks chained per window through one process-wide map.
#include "SubclassWnd.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

namespace
{
// Window handle → the newest hook of that window. Made at first use and
// never destroyed, so that hooks unhooking at process exit still find it.
CMapPtrToPtr& HookMap()
{
    static CMapPtrToPtr* pMap = []
    {
        auto* pNew = new CMapPtrToPtr;
        pNew->InitHashTable(10);
        return pNew;
    }();
    return *pMap;
}

CSubclassWnd* NewestHook(HWND hWnd)
{
    void* pHook = nullptr;
    return HookMap().Lookup(hWnd, pHook) ? static_cast<CSubclassWnd*>(pHook) : nullptr;
}

// The thread's record of the message being handled, which Default reads.
// Handlers of hooked windows run outside AfxCallWndProc, so the hook
// procedure fills the record itself and puts the outer one back after.
class CCurrentMessageScope
{
public:
    CCurrentMessageScope(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
        : m_record(const_cast<MSG&>(*CWnd::GetCurrentMessage())), m_saved(m_record)
    {
        m_record.hwnd = hWnd;
        m_record.message = msg;
        m_record.wParam = wp;
        m_record.lParam = lp;
    }
    ~CCurrentMessageScope() { m_record = m_saved; }
    CCurrentMessageScope(const CCurrentMessageScope&) = delete;
    CCurrentMessageScope& operator=(const CCurrentMessageScope&) = delete;

private:
    MSG& m_record;
    MSG m_saved;
};
} // namespace

CSubclassWnd::~CSubclassWnd()
{
    if (IsHooked())
        Unhook();
}

BOOL CSubclassWnd::HookWindow(CWnd* pWnd)
{
    if (IsHooked())
        Unhook();
    if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr)
    {
        Hook(pWnd->GetSafeHwnd());
        m_pWndHooked = pWnd;
    }
    return TRUE;
}

void CSubclassWnd::Hook(HWND hWnd)
{
    CSubclassWnd* pNewest = NewestHook(hWnd);
    m_pNext = pNewest;
    HookMap().SetAt(hWnd, this);
    if (pNewest != nullptr)
        m_pOldWndProc = pNewest->m_pOldWndProc;
    else
        m_pOldWndProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&HookWndProc)));
    m_hWndHooked = hWnd;
}

void CSubclassWnd::Unhook()
{
    CSubclassWnd* pNewest = NewestHook(m_hWndHooked);
    if (pNewest == this)
    {
        if (m_pNext != nullptr)
        {
            HookMap().SetAt(m_hWndHooked, m_pNext);
        }
        else
        {
            HookMap().RemoveKey(m_hWndHooked);
            SetWindowLongPtrA(m_hWndHooked, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pOldWndProc));
        }
    }
    else
    {
        CSubclassWnd* pBefore = pNewest;
        while (pBefore != nullptr && pBefore->m_pNext != this)
            pBefore = pBefore->m_pNext;
        if (pBefore != nullptr)
            pBefore->m_pNext = m_pNext;
    }
    m_pNext = nullptr;
    m_pWndHooked = nullptr;
    m_hWndHooked = nullptr;
    m_pOldWndProc = nullptr;
}

LRESULT CSubclassWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_pNext != nullptr)
        return m_pNext->WindowProc(msg, wp, lp);
    return CallWindowProcA(m_pOldWndProc, m_hWndHooked, msg, wp, lp);
}

LRESULT CSubclassWnd::Default()
{
    const MSG* pMsg = CWnd::GetCurrentMessage();
    return CSubclassWnd::WindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

LRESULT CSubclassWnd::HookWndProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CCurrentMessageScope scope(hWnd, msg, wp, lp);
    try
    {
        return Dispatch(hWnd, msg, wp, lp);
    }
    catch (...)
    {
        std::fprintf(stderr, "Zentiq: a window hook failed on message 0x%04X.\n", msg);
        return 0;
    }
}

LRESULT CSubclassWnd::Dispatch(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CSubclassWnd* pHook = NewestHook(hWnd);
    if (pHook == nullptr)
        return DefWindowProcA(hWnd, msg, wp, lp);
    if (msg != WM_NCDESTROY)
        return pHook->WindowProc(msg, wp, lp);
    const WNDPROC pOriginal = pHook->m_pOldWndProc;
    while ((pHook = NewestHook(hWnd)) != nullptr)
        pHook->Unhook();
    return CallWindowProcA(pOriginal, hWnd, msg, wp, lp);
}
