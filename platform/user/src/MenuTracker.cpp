#include "MenuTracker.h"

#include "ControlSupport.h"
#include "MenuBar.h"
#include "Timers.h"
#include "WinBeep.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"
#include "WindowTree.h"

#include <algorithm>
#include <cctype>

namespace
{
constexpr UINT_PTR kHoverTimer = 0xFFE0;
constexpr UINT kHoverDelayMs = 400;
constexpr UINT kMenuSelectClosed = 0xFFFF;

struct MenuLevel
{
    HMENU hMenu = nullptr;
    HWND hWnd = nullptr; // the popup window; the frame for the bar
    bool bBar = false;
    int nSelected = -1;
    MenuPlacement placement; // popup client or frame window coordinates
    POINT ptOrigin{0, 0};    // the screen point of those coordinates' origin
};

struct MenuHit
{
    int nLevel = -1;
    int nItem = -1;
};

bool IsChoosable(const MenuItem& item)
{
    return !item.IsSeparator() && item.hSubMenu == nullptr &&
           (item.fState & (MF_GRAYED | MF_DISABLED)) == 0;
}

RECT ToScreen(const RECT& rect, POINT origin)
{
    RECT result = rect;
    OffsetRect(&result, origin.x, origin.y);
    return result;
}

POINT FitOnScreen(POINT pt, SIZE size)
{
    pt.x = std::clamp<LONG>(pt.x, 0, std::max<LONG>(GetSystemMetrics(SM_CXSCREEN) - size.cx, 0));
    pt.y = std::clamp<LONG>(pt.y, 0, std::max<LONG>(GetSystemMetrics(SM_CYSCREEN) - size.cy, 0));
    return pt;
}

class MenuTracker
{
public:
    MenuTracker(HWND hOwner, UINT uFlags)
        : m_hOwner(hOwner), m_uFlags(uFlags), m_bNotify((uFlags & TPM_NONOTIFY) == 0)
    {
    }

    bool StartPopup(HMENU hMenu, POINT pt);
    bool StartBar(HWND hWnd, int nItem, char ch);
    void Run();
    void Finish();
    void Cancel() { m_bDone = true; }

    UINT GetChosen() const { return m_nChosen; }
    int GetBarItem(HWND hWnd) const
    {
        return !m_levels.empty() && m_levels[0].bBar && m_levels[0].hWnd == hWnd
                   ? m_levels[0].nSelected
                   : -1;
    }
    bool GetPopupItemRect(HMENU hMenu, UINT uItem, RECT& rcItem) const
    {
        for (const MenuLevel& level : m_levels)
        {
            if (level.bBar || level.hMenu != hMenu || uItem >= level.placement.items.size())
                continue;
            rcItem = level.placement.items[uItem];
            OffsetRect(&rcItem, level.ptOrigin.x, level.ptOrigin.y);
            return true;
        }
        return false;
    }
    void PaintPopup(HWND hWnd, HDC hdc);

private:
    MenuData* MenuOf(int nLevel) const { return MenuTable::Get().Find(m_levels[nLevel].hMenu); }
    int TopLevel() const { return static_cast<int>(m_levels.size()) - 1; }
    bool IsPopupOpenAbove(int nLevel) const { return TopLevel() > nLevel; }

    bool OpenPopup(HMENU hMenu, UINT nIndexInParent, POINT pt, const RECT* prcParentItem);
    bool OpenSelectedSubmenu(int nLevel, bool bSelectFirst);
    void CloseAbove(int nLevel);
    void Select(int nLevel, int nItem);
    void RedrawItem(int nLevel, int nItem, bool bSelected);
    void Choose(int nLevel, int nItem);
    int NextSelectable(int nLevel, int nFrom, int nStep) const;
    MenuHit HitTest(POINT ptScreen) const;

    void OnMouse(const MSG& msg);
    void OnKeyDown(const MSG& msg);
    void OnChar(char ch);
    void OnEscape();
    void OnHoverTimer(HWND hPopup);
    void MoveAlongBar(int nStep);
    void NotifyMenuSelect(int nLevel, int nItem);

    HWND m_hOwner;
    UINT m_uFlags;
    bool m_bNotify;
    std::vector<MenuLevel> m_levels;
    HWND m_hCapture = nullptr;
    bool m_bDone = false;
    UINT m_nChosen = 0;
};

MenuTracker* gTracker = nullptr;

bool MenuTracker::OpenPopup(HMENU hMenu, UINT nIndexInParent, POINT pt, const RECT* prcParentItem)
{
    if (m_bNotify)
        SendMessageA(m_hOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu),
                     MAKELPARAM(nIndexInParent, 0));
    MenuData* menu = MenuTable::Get().Find(hMenu);
    if (menu == nullptr || menu->items.empty() || !IsWindow(m_hOwner) || m_bDone)
        return false;
    MenuLevel level;
    level.hMenu = hMenu;
    level.placement = LayoutPopupMenu(*menu, m_hOwner);
    const SIZE size = level.placement.size;
    if (prcParentItem != nullptr)
    {
        // Beside the parent item, overlapping the parent's frame, or on its
        // left when the screen ends.
        pt = POINT{prcParentItem->right - kMenuPopupBorder, prcParentItem->top - kMenuPopupBorder};
        if (pt.x + size.cx > GetSystemMetrics(SM_CXSCREEN))
            pt.x = prcParentItem->left - size.cx + kMenuPopupBorder;
    }
    else
    {
        // Where the screen ends, the popup opens upwards or leftwards from
        // the point instead.
        if (pt.y + size.cy > GetSystemMetrics(SM_CYSCREEN) && pt.y - size.cy >= 0)
            pt.y -= size.cy;
        if (pt.x + size.cx > GetSystemMetrics(SM_CXSCREEN) && pt.x - size.cx >= 0)
            pt.x -= size.cx;
    }
    level.ptOrigin = FitOnScreen(pt, size);
    level.hWnd =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "#32768", "", WS_POPUP, level.ptOrigin.x,
                        level.ptOrigin.y, size.cx, size.cy, m_hOwner, nullptr, nullptr, nullptr);
    if (level.hWnd == nullptr)
        return false;
    m_levels.push_back(std::move(level));
    const HWND hPopup = m_levels.back().hWnd;
    SetWindowPos(hPopup, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    UpdateWindow(hPopup);
    return true;
}

bool MenuTracker::StartPopup(HMENU hMenu, POINT pt)
{
    MenuData* menu = MenuTable::Get().Find(hMenu);
    if (menu == nullptr)
        return false;
    // The alignment needs the size, which the owner's answers decide.
    if (m_bNotify)
        SendMessageA(m_hOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
    const bool bNotify = m_bNotify;
    m_bNotify = false;
    if ((menu = MenuTable::Get().Find(hMenu)) != nullptr && !menu->items.empty())
    {
        const SIZE size = LayoutPopupMenu(*menu, m_hOwner).size;
        if (m_uFlags & TPM_CENTERALIGN)
            pt.x -= size.cx / 2;
        else if (m_uFlags & TPM_RIGHTALIGN)
            pt.x -= size.cx;
        if (m_uFlags & TPM_VCENTERALIGN)
            pt.y -= size.cy / 2;
        else if (m_uFlags & TPM_BOTTOMALIGN)
            pt.y -= size.cy;
    }
    const bool bOpened = OpenPopup(hMenu, 0, pt, nullptr);
    m_bNotify = bNotify;
    if (!bOpened)
        return false;
    m_hCapture = m_levels[0].hWnd;
    SetCapture(m_hCapture);
    return true;
}

bool MenuTracker::StartBar(HWND hWnd, int nItem, char ch)
{
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr)
        return false;
    const HMENU hMenu = GetMenuBarOf(*window);
    if (MenuTable::Get().Find(hMenu) == nullptr)
        return false;
    if (m_bNotify)
        SendMessageA(hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
    if ((window = FindWindowData(hWnd)) == nullptr || MenuTable::Get().Find(hMenu) == nullptr)
        return false;
    MenuLevel bar;
    bar.hMenu = hMenu;
    bar.hWnd = hWnd;
    bar.bBar = true;
    bar.placement = LayoutWindowMenuBar(*window);
    const RECT rcWindow = GetScreenWindowRect(*window);
    bar.ptOrigin = POINT{rcWindow.left, rcWindow.top};
    m_levels.push_back(std::move(bar));
    m_hCapture = hWnd;
    SetCapture(hWnd);
    if (nItem >= 0)
    {
        Select(0, nItem);
        OpenSelectedSubmenu(0, false);
        return true;
    }
    if (ch == 0)
    {
        Select(0, NextSelectable(0, -1, 1));
        return true;
    }
    // Alt with a letter no bar item answers to does not enter the menu.
    OnChar(ch);
    if (!IsPopupOpenAbove(0))
        m_bDone = true;
    return true;
}

void MenuTracker::PaintPopup(HWND hWnd, HDC hdc)
{
    for (int i = 0; i <= TopLevel(); ++i)
    {
        const MenuLevel& level = m_levels[i];
        if (level.hWnd != hWnd || level.bBar)
            continue;
        if (const MenuData* menu = MenuOf(i))
            DrawPopupMenu(hdc, *menu, level.placement, level.nSelected, m_hOwner);
        return;
    }
}

void MenuTracker::CloseAbove(int nLevel)
{
    while (TopLevel() > nLevel)
    {
        const HWND hPopup = m_levels.back().hWnd;
        m_levels.pop_back();
        TimerTable::Get().Kill(hPopup, kHoverTimer, true);
        DestroyWindow(hPopup);
    }
}

void MenuTracker::NotifyMenuSelect(int nLevel, int nItem)
{
    const MenuData* menu = MenuOf(nLevel);
    if (!m_bNotify || menu == nullptr || nItem < 0)
        return;
    const MenuItem& item = menu->items[nItem];
    UINT nFlags = (item.fType | item.fState | MF_HILITE) & 0xFFFF;
    const bool bPopupItem = item.hSubMenu != nullptr;
    if (bPopupItem)
        nFlags |= MF_POPUP;
    const UINT nId = bPopupItem ? static_cast<UINT>(nItem) : item.wID;
    SendMessageA(m_hOwner, WM_MENUSELECT, MAKEWPARAM(nId, nFlags),
                 reinterpret_cast<LPARAM>(menu->hMenu));
}

void MenuTracker::RedrawItem(int nLevel, int nItem, bool bSelected)
{
    const MenuLevel& level = m_levels[nLevel];
    const MenuData* menu = MenuOf(nLevel);
    if (menu == nullptr || nItem < 0 || nItem >= static_cast<int>(menu->items.size()) ||
        nItem >= static_cast<int>(level.placement.items.size()))
        return;
    HDC hdc = level.bBar ? GetWindowDC(level.hWnd) : GetDC(level.hWnd);
    if (hdc == nullptr)
        return;
    DrawMenuItem(hdc, *menu, static_cast<std::size_t>(nItem), level.placement.items[nItem],
                 bSelected, level.bBar, m_hOwner, ODA_SELECT);
    ReleaseDC(level.hWnd, hdc);
}

void MenuTracker::Select(int nLevel, int nItem)
{
    if (nLevel > TopLevel())
        return;
    MenuLevel& level = m_levels[nLevel];
    if (level.nSelected == nItem)
        return;
    CloseAbove(nLevel);
    TimerTable::Get().Kill(level.hWnd, kHoverTimer, true);
    const int nOld = level.nSelected;
    level.nSelected = nItem;
    NotifyMenuSelect(nLevel, nItem);
    if (nLevel > TopLevel())
        return;
    RedrawItem(nLevel, nOld, false);
    RedrawItem(nLevel, nItem, true);
}

bool MenuTracker::OpenSelectedSubmenu(int nLevel, bool bSelectFirst)
{
    const MenuData* menu = MenuOf(nLevel);
    const int nItem = m_levels[nLevel].nSelected;
    if (menu == nullptr || nItem < 0 || IsPopupOpenAbove(nLevel))
        return false;
    const MenuItem& item = menu->items[nItem];
    if (item.hSubMenu == nullptr || item.IsGrayed())
        return false;
    const MenuLevel& level = m_levels[nLevel];
    const RECT rcItem = ToScreen(level.placement.items[nItem], level.ptOrigin);
    const bool bOpened = level.bBar
                             ? OpenPopup(item.hSubMenu, static_cast<UINT>(nItem),
                                         POINT{rcItem.left, rcItem.bottom}, nullptr)
                             : OpenPopup(item.hSubMenu, static_cast<UINT>(nItem), POINT{}, &rcItem);
    if (bOpened && bSelectFirst)
        Select(TopLevel(), NextSelectable(TopLevel(), -1, 1));
    return bOpened;
}

void MenuTracker::Choose(int nLevel, int nItem)
{
    const MenuData* menu = MenuOf(nLevel);
    if (menu == nullptr || nItem < 0)
        return;
    const MenuItem& item = menu->items[nItem];
    if (item.hSubMenu != nullptr)
    {
        Select(nLevel, nItem);
        OpenSelectedSubmenu(nLevel, true);
        return;
    }
    if (!IsChoosable(item))
        return;
    m_nChosen = item.wID;
    m_bDone = true;
}

int MenuTracker::NextSelectable(int nLevel, int nFrom, int nStep) const
{
    const MenuData* menu = MenuOf(nLevel);
    if (menu == nullptr || menu->items.empty())
        return -1;
    const int nCount = static_cast<int>(menu->items.size());
    // From no selection, down starts at the first item and up at the last.
    int nItem = nFrom >= 0 ? nFrom : (nStep > 0 ? -1 : nCount);
    for (int i = 0; i < nCount; ++i)
    {
        nItem = ((nItem + nStep) % nCount + nCount) % nCount;
        if (menu->items[nItem].IsSelectable())
            return nItem;
    }
    return -1;
}

MenuHit MenuTracker::HitTest(POINT ptScreen) const
{
    for (int i = TopLevel(); i >= 0; --i)
    {
        const MenuLevel& level = m_levels[i];
        RECT rcArea{};
        if (level.bBar)
        {
            const WindowData* window = FindWindowData(level.hWnd);
            if (window == nullptr)
                continue;
            rcArea = ToScreen(GetMenuBarRect(*window), level.ptOrigin);
        }
        else
        {
            GetWindowRect(level.hWnd, &rcArea);
        }
        if (!PtInRect(&rcArea, ptScreen))
            continue;
        const auto& items = level.placement.items;
        for (std::size_t n = 0; n < items.size(); ++n)
        {
            const RECT rcItem = ToScreen(items[n], level.ptOrigin);
            if (PtInRect(&rcItem, ptScreen))
                return MenuHit{i, static_cast<int>(n)};
        }
        return MenuHit{i, -1};
    }
    return MenuHit{};
}

void MenuTracker::OnMouse(const MSG& msg)
{
    const MenuHit hit = HitTest(msg.pt);
    const bool bRightButtonChooses = (m_uFlags & TPM_RIGHTBUTTON) != 0;
    switch (msg.message)
    {
    case WM_MOUSEMOVE:
    {
        if (hit.nLevel < 0)
        {
            // Off every menu: the deepest popup drops a selection that
            // opened nothing.
            const int nTop = TopLevel();
            if (!m_levels[nTop].bBar)
                Select(nTop, -1);
            return;
        }
        if (hit.nItem < 0)
            return;
        const MenuLevel& level = m_levels[hit.nLevel];
        if (level.bBar)
        {
            // Across the bar while one of its popups is open.
            if (IsPopupOpenAbove(0) && level.nSelected != hit.nItem)
            {
                Select(0, hit.nItem);
                OpenSelectedSubmenu(0, false);
            }
            return;
        }
        if (level.nSelected == hit.nItem)
            return;
        Select(hit.nLevel, hit.nItem);
        const MenuData* menu = MenuOf(hit.nLevel);
        if (menu != nullptr && menu->items[hit.nItem].hSubMenu != nullptr)
            TimerTable::Get().Set(level.hWnd, kHoverTimer, kHoverDelayMs, nullptr, true);
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (hit.nLevel < 0)
        {
            m_bDone = true;
            return;
        }
        if (hit.nItem < 0)
            return;
        if (m_levels[hit.nLevel].bBar && m_levels[0].nSelected == hit.nItem && IsPopupOpenAbove(0))
        {
            // A second press on the open bar item leaves the menu.
            m_bDone = true;
            return;
        }
        Select(hit.nLevel, hit.nItem);
        OpenSelectedSubmenu(hit.nLevel, false);
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (msg.message == WM_RBUTTONUP && !bRightButtonChooses)
            return;
        if (hit.nLevel >= 0 && hit.nItem >= 0 && !m_levels[hit.nLevel].bBar)
        {
            const MenuData* menu = MenuOf(hit.nLevel);
            if (menu != nullptr && IsChoosable(menu->items[hit.nItem]))
                Choose(hit.nLevel, hit.nItem);
        }
        return;
    default:
        return;
    }
}

void MenuTracker::MoveAlongBar(int nStep)
{
    const bool bWasOpen = IsPopupOpenAbove(0);
    Select(0, NextSelectable(0, m_levels[0].nSelected, nStep));
    if (bWasOpen)
        OpenSelectedSubmenu(0, true);
}

void MenuTracker::OnEscape()
{
    const int nTop = TopLevel();
    if (nTop == 0)
    {
        m_bDone = true;
        return;
    }
    CloseAbove(nTop - 1);
    if (!m_levels[nTop - 1].bBar)
        return;
    // Back on the bar with its item still selected.
    RedrawItem(0, m_levels[0].nSelected, true);
}

void MenuTracker::OnKeyDown(const MSG& msg)
{
    const int nTop = TopLevel();
    MenuLevel& top = m_levels[nTop];
    switch (msg.wParam)
    {
    case VK_UP:
    case VK_DOWN:
        if (top.bBar)
            OpenSelectedSubmenu(0, true);
        else
            Select(nTop, NextSelectable(nTop, top.nSelected, msg.wParam == VK_DOWN ? 1 : -1));
        return;
    case VK_RIGHT:
        if (top.bBar)
            MoveAlongBar(1);
        else if (!OpenSelectedSubmenu(nTop, true) && m_levels[0].bBar)
            MoveAlongBar(1);
        return;
    case VK_LEFT:
        if (top.bBar)
            MoveAlongBar(-1);
        else if (nTop >= 2 || (nTop == 1 && !m_levels[0].bBar))
            CloseAbove(nTop - 1);
        else if (m_levels[0].bBar)
            MoveAlongBar(-1);
        return;
    case VK_RETURN:
        if (top.bBar)
            OpenSelectedSubmenu(0, true);
        else
            Choose(nTop, top.nSelected);
        return;
    case VK_ESCAPE:
        OnEscape();
        return;
    case VK_MENU:
    case VK_F10:
        m_bDone = true;
        return;
    default:
        TranslateMessage(&msg);
        return;
    }
}

void MenuTracker::OnChar(char ch)
{
    if (static_cast<unsigned char>(ch) < ' ')
        return;
    const int nTop = TopLevel();
    const MenuData* menu = MenuOf(nTop);
    if (menu == nullptr)
        return;
    const char key = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    std::vector<int> matches;
    for (std::size_t i = 0; i < menu->items.size(); ++i)
    {
        if (!menu->items[i].IsOwnerDraw() && GetCaptionMnemonic(menu->items[i].text.c_str()) == key)
            matches.push_back(static_cast<int>(i));
    }
    if (matches.size() == 1)
    {
        Select(nTop, matches[0]);
        Choose(nTop, matches[0]);
        return;
    }
    if (matches.size() > 1)
    {
        const int nCurrent = m_levels[nTop].nSelected;
        const auto next = std::upper_bound(matches.begin(), matches.end(), nCurrent);
        Select(nTop, next != matches.end() ? *next : matches[0]);
        return;
    }
    LRESULT answer = 0;
    if (m_bNotify)
    {
        const WORD nFlags = m_levels[nTop].bBar ? 0 : MF_POPUP;
        answer =
            SendMessageA(m_hOwner, WM_MENUCHAR, MAKEWPARAM(static_cast<unsigned char>(ch), nFlags),
                         reinterpret_cast<LPARAM>(menu->hMenu));
    }
    const int nItem = LOWORD(answer);
    const int nCount = (menu = MenuOf(nTop)) != nullptr ? static_cast<int>(menu->items.size()) : 0;
    switch (HIWORD(answer))
    {
    case MNC_EXECUTE:
        if (nItem < nCount)
        {
            Select(nTop, nItem);
            Choose(nTop, nItem);
        }
        return;
    case MNC_SELECT:
        if (nItem < nCount)
            Select(nTop, nItem);
        return;
    case MNC_CLOSE:
        m_bDone = true;
        return;
    default:
        MessageBeep(0);
        return;
    }
}

void MenuTracker::OnHoverTimer(HWND hPopup)
{
    TimerTable::Get().Kill(hPopup, kHoverTimer, true);
    const int nTop = TopLevel();
    if (m_levels[nTop].hWnd == hPopup)
        OpenSelectedSubmenu(nTop, false);
}

void MenuTracker::Run()
{
    MSG msg{};
    while (!m_bDone)
    {
        if (!IsWindow(m_hOwner) || m_hCapture == nullptr || GetCapture() != m_hCapture)
            break;
        if (!GetMessageA(&msg, nullptr, 0, 0))
        {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            OnMouse(msg);
        else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
            OnKeyDown(msg);
        else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR)
            OnChar(static_cast<char>(msg.wParam));
        else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP)
            continue;
        else if (msg.message == WM_SYSTIMER && msg.wParam == kHoverTimer)
            OnHoverTimer(msg.hwnd);
        else
            DispatchMessageA(&msg);
    }
}

void MenuTracker::Finish()
{
    CloseAbove(0);
    const MenuLevel first = m_levels.empty() ? MenuLevel{} : m_levels[0];
    m_levels.clear();
    if (first.bBar)
    {
        if (WindowData* window = FindWindowData(first.hWnd))
        {
            HDC hdc = GetWindowDC(first.hWnd);
            PaintMenuBar(hdc, *window);
            ReleaseDC(first.hWnd, hdc);
        }
    }
    else if (IsWindow(first.hWnd))
    {
        DestroyWindow(first.hWnd);
    }
    if (GetCapture() == first.hWnd && first.hWnd != nullptr)
        ReleaseCapture();
    if (m_bNotify && IsWindow(m_hOwner))
        SendMessageA(m_hOwner, WM_MENUSELECT, MAKEWPARAM(0, kMenuSelectClosed), 0);
}

// Makes the tracker the current one for its lifetime.
class TrackerScope
{
public:
    explicit TrackerScope(MenuTracker& tracker) { gTracker = &tracker; }
    ~TrackerScope() { gTracker = nullptr; }
    TrackerScope(const TrackerScope&) = delete;
    TrackerScope& operator=(const TrackerScope&) = delete;
};
} // namespace

UINT TrackMenuPopup(HMENU hMenu, UINT uFlags, POINT pt, HWND hOwner, bool& bShown)
{
    bShown = false;
    if (gTracker != nullptr || !IsWindow(hOwner))
        return 0;
    MenuTracker tracker(hOwner, uFlags);
    TrackerScope scope(tracker);
    bShown = tracker.StartPopup(hMenu, pt);
    if (bShown)
        tracker.Run();
    tracker.Finish();
    return tracker.GetChosen();
}

void TrackMenuBar(HWND hWnd, int nItem, char ch)
{
    if (gTracker != nullptr)
        return;
    MenuTracker tracker(hWnd, 0);
    UINT nChosen = 0;
    {
        TrackerScope scope(tracker);
        if (tracker.StartBar(hWnd, nItem, ch))
            tracker.Run();
        tracker.Finish();
        nChosen = tracker.GetChosen();
    }
    if (nChosen != 0 && IsWindow(hWnd))
        PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nChosen, 0), 0);
}

bool IsMenuTracked()
{
    return gTracker != nullptr;
}

void CancelMenuTracking()
{
    if (gTracker != nullptr)
        gTracker->Cancel();
}

int GetTrackedBarItem(HWND hWnd)
{
    return gTracker != nullptr ? gTracker->GetBarItem(hWnd) : -1;
}

bool GetTrackedPopupItemRect(HMENU hMenu, UINT uItem, RECT& rcItem)
{
    return gTracker != nullptr && gTracker->GetPopupItemRect(hMenu, uItem, rcItem);
}

LRESULT MenuPopupWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_PAINT:
    {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hWnd, &paint);
        if (gTracker != nullptr)
            gTracker->PaintPopup(hWnd, hdc);
        EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CANCELMODE:
        CancelMenuTracking();
        return 0;
    default:
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*)
{
    bool bShown = false;
    const UINT nChosen = TrackMenuPopup(hMenu, uFlags, POINT{x, y}, hWnd, bShown);
    if (uFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(nChosen);
    // Posted, so that the owner handles it after this call has returned.
    if (nChosen != 0)
        PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nChosen, 0), 0);
    return bShown ? TRUE : FALSE;
}

BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd, LPTPMPARAMS lptpm)
{
    return TrackPopupMenu(hMenu, uFlags, x, y, 0, hWnd,
                          lptpm != nullptr ? &lptpm->rcExclude : nullptr);
}

BOOL EndMenu()
{
    CancelMenuTracking();
    return TRUE;
}
