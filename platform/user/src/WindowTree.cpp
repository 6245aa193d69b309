#include "WindowTree.h"

#include "WinError.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr std::uintptr_t kHandleBase = 0x40000000;
constexpr std::uintptr_t kHandleMask = 0x3FFFFFFF;

std::size_t IndexOf(HWND hWnd)
{
    const auto value = reinterpret_cast<std::uintptr_t>(hWnd);
    if ((value & ~kHandleMask) != kHandleBase)
        return 0;
    return value & kHandleMask;
}
} // namespace

void WindowSurface::Resize(int nNewWidth, int nNewHeight)
{
    nNewWidth = std::max(nNewWidth, 0);
    nNewHeight = std::max(nNewHeight, 0);
    if (nNewWidth == nWidth && nNewHeight == nHeight)
        return;
    std::vector<std::uint32_t> resized(std::size_t(nNewWidth) * std::size_t(nNewHeight), 0);
    const int copyWidth = std::min(nWidth, nNewWidth);
    for (int y = 0; y < std::min(nHeight, nNewHeight); ++y)
        std::memcpy(&resized[std::size_t(y) * nNewWidth], &pixels[std::size_t(y) * nWidth],
                    std::size_t(copyWidth) * sizeof(std::uint32_t));
    pixels = std::move(resized);
    nWidth = nNewWidth;
    nHeight = nNewHeight;
}

WindowTree& WindowTree::Get()
{
    static WindowTree tree;
    return tree;
}

WindowTree::WindowTree() : m_desktop(std::make_shared<WindowData>())
{
    m_table.push_back(nullptr); // number 0 is never a window
    m_desktop->hWnd = AllocateHandle();
    m_desktop->dwStyle = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    m_desktop->rcWindow = RECT{0, 0, GDI_SCREEN_WIDTH, GDI_SCREEN_HEIGHT};
    m_desktop->rcClient = m_desktop->rcWindow;
    m_desktop->text = "Desktop";
    Add(m_desktop);
}

WindowData* WindowTree::Find(HWND hWnd) const
{
    return Hold(hWnd).get();
}

std::shared_ptr<WindowData> WindowTree::Hold(HWND hWnd) const
{
    const std::size_t index = IndexOf(hWnd);
    if (index != 0)
        return index < m_table.size() ? m_table[index] : nullptr;
    const auto it = m_displayOwned.find(hWnd);
    return it != m_displayOwned.end() ? it->second : nullptr;
}

HWND WindowTree::AllocateHandle()
{
    const std::uintptr_t number = m_table.size();
    m_table.push_back(nullptr);
    return reinterpret_cast<HWND>(kHandleBase | number);
}

void WindowTree::Add(const std::shared_ptr<WindowData>& window)
{
    const std::size_t index = IndexOf(window->hWnd);
    if (index != 0)
        m_table[index] = window;
    else
        m_displayOwned[window->hWnd] = window;
}

void WindowTree::Remove(HWND hWnd)
{
    const std::size_t index = IndexOf(hWnd);
    if (index != 0 && index < m_table.size())
        m_table[index].reset();
    else
        m_displayOwned.erase(hWnd);
}

WindowData* FindWindowChecked(HWND hWnd)
{
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

bool IsDesktop(const WindowData& window)
{
    return window.pParent == nullptr;
}

bool IsTopLevel(const WindowData& window)
{
    return window.pParent != nullptr && IsDesktop(*window.pParent);
}

WindowData& GetTopLevelOf(WindowData& window)
{
    WindowData* current = &window;
    while (current->pParent != nullptr && !IsDesktop(*current->pParent))
        current = current->pParent;
    return *current;
}

bool IsAncestorOf(const WindowData& ancestor, const WindowData& window)
{
    for (const WindowData* current = window.pParent; current != nullptr; current = current->pParent)
    {
        if (current == &ancestor)
            return true;
    }
    return false;
}

bool IsShownOnScreen(const WindowData& window)
{
    for (const WindowData* current = &window; current != nullptr; current = current->pParent)
    {
        if ((current->dwStyle & WS_VISIBLE) == 0)
            return false;
    }
    return true;
}

bool IsEnabledWindow(const WindowData& window)
{
    return (window.dwStyle & WS_DISABLED) == 0;
}

POINT GetScreenClientOrigin(const WindowData& window)
{
    if (IsDesktop(window))
        return POINT{0, 0};
    const POINT parentOrigin = GetScreenClientOrigin(*window.pParent);
    return POINT{parentOrigin.x + window.rcWindow.left + window.rcClient.left,
                 parentOrigin.y + window.rcWindow.top + window.rcClient.top};
}

RECT GetScreenWindowRect(const WindowData& window)
{
    if (IsDesktop(window))
        return window.rcWindow;
    const POINT parentOrigin = GetScreenClientOrigin(*window.pParent);
    RECT rect = window.rcWindow;
    OffsetRect(&rect, parentOrigin.x, parentOrigin.y);
    return rect;
}

RECT GetScreenClientRect(const WindowData& window)
{
    const POINT origin = GetScreenClientOrigin(window);
    RECT rect = window.GetClientRectLocal();
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

POINT GetSurfaceWindowOrigin(const WindowData& window)
{
    if (IsDesktop(window) || IsTopLevel(window))
        return POINT{0, 0};
    const POINT parentOrigin = GetSurfaceClientOrigin(*window.pParent);
    return POINT{parentOrigin.x + window.rcWindow.left, parentOrigin.y + window.rcWindow.top};
}

POINT GetSurfaceClientOrigin(const WindowData& window)
{
    const POINT origin = GetSurfaceWindowOrigin(window);
    return POINT{origin.x + window.rcClient.left, origin.y + window.rcClient.top};
}

void UnlinkFromParent(WindowData& window)
{
    if (window.pParent == nullptr)
        return;
    auto& siblings = window.pParent->children;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                  [&](const auto& child) { return child.get() == &window; }),
                   siblings.end());
    window.pParent = nullptr;
}

void LinkToParent(WindowData& window, WindowData& parent, std::shared_ptr<WindowData> holder,
                  HWND hInsertAfter)
{
    auto& siblings = parent.children;
    auto position = siblings.begin();
    if (hInsertAfter == HWND_BOTTOM)
    {
        position = siblings.end();
    }
    else if (hInsertAfter == HWND_TOP || hInsertAfter == HWND_TOPMOST ||
             hInsertAfter == HWND_NOTOPMOST)
    {
        // Topmost windows stay above the others of their parent.
        if ((window.dwExStyle & WS_EX_TOPMOST) == 0)
            position = std::find_if(siblings.begin(), siblings.end(),
                                    [](const auto& sibling)
                                    { return (sibling->dwExStyle & WS_EX_TOPMOST) == 0; });
    }
    else
    {
        position = std::find_if(siblings.begin(), siblings.end(),
                                [&](const auto& sibling) { return sibling->hWnd == hInsertAfter; });
        if (position != siblings.end())
            ++position;
    }
    siblings.insert(position, std::move(holder));
    window.pParent = &parent;
}

std::vector<HWND> CollectSubtree(const WindowData& root, bool bIncludeRoot)
{
    std::vector<HWND> handles;
    if (bIncludeRoot)
        handles.push_back(root.hWnd);
    for (const auto& child : root.children)
    {
        const std::vector<HWND> below = CollectSubtree(*child, true);
        handles.insert(handles.end(), below.begin(), below.end());
    }
    return handles;
}

std::vector<HWND> GetChildHandles(const WindowData& window)
{
    std::vector<HWND> handles;
    for (const auto& child : window.children)
        handles.push_back(child->hWnd);
    return handles;
}
