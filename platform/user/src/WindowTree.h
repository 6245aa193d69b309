// The windows of the process: their data, the handle table, the desktop at
// the root of the tree and the geometry shared by every part of the layer.
// Handles are 0x40000000 | n from a counter and never reused, except that a
// display may give top-level windows its own ids (below 0x20000000).
#pragma once

#include "Region.h"
#include "WindowClassTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct ScrollBarData
{
    int nMin = 0;
    int nMax = 100;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// The pixels of a top-level window, its children drawn into them.
struct WindowSurface
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> pixels;

    void Resize(int nNewWidth, int nNewHeight);
};

struct WindowData
{
    HWND hWnd = nullptr;
    std::shared_ptr<WindowClassData> pClass;
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    WindowData* pParent = nullptr; // the desktop for top-level windows
    HWND hOwner = nullptr;
    HWND hLastActivePopup = nullptr; // of the windows it owns, the one active last
    HWND hLastFocus = nullptr;       // the child that had the focus when it was deactivated
    std::vector<std::shared_ptr<WindowData>> children; // top of the Z order first
    RECT rcWindow{};                                   // in the parent's client coordinates
    RECT rcClient{};                                   // relative to the window's top left
    WNDPROC wndProc = nullptr;
    HINSTANCE hInstance = nullptr;
    UINT_PTR nIdOrMenu = 0; // the id of a child, the menu of a top-level window
    LONG_PTR userData = 0;
    std::vector<BYTE> extraBytes;
    std::string text;
    std::vector<std::pair<std::string, HANDLE>> props;
    Region update; // client coordinates
    bool bErase = false;
    bool bNcPaint = false;
    bool bRedrawOff = false;
    // A top-level frame that draws its caption and border itself, where a
    // display would otherwise draw them.
    bool bSelfDrawnFrame = false;
    bool bDestroying = false;
    ScrollBarData scroll[3]; // SB_HORZ, SB_VERT and, for a scroll-bar control, SB_CTL
    RECT rcNormal{};         // the restored rectangle while minimised or maximised
    std::unique_ptr<WindowSurface> pSurface;

    bool IsChildStyle() const { return (dwStyle & WS_CHILD) != 0; }
    bool HasStyle(DWORD style) const { return (dwStyle & style) == style; }
    int GetWidth() const { return rcWindow.right - rcWindow.left; }
    int GetHeight() const { return rcWindow.bottom - rcWindow.top; }
    RECT GetClientRectLocal() const
    {
        return RECT{0, 0, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    }
};

class WindowTree
{
public:
    static WindowTree& Get();

    WindowData& GetDesktop() { return *m_desktop; }
    // Null for a handle that is not (or no longer) a window.
    WindowData* Find(HWND hWnd) const;
    std::shared_ptr<WindowData> Hold(HWND hWnd) const;
    HWND AllocateHandle();
    // Adds a window under its handle, numbered or a display's own.
    void Add(const std::shared_ptr<WindowData>& window);
    void Remove(HWND hWnd);

private:
    WindowTree();

    std::shared_ptr<WindowData> m_desktop;
    std::vector<std::shared_ptr<WindowData>> m_table; // index = handle number
    std::unordered_map<HWND, std::shared_ptr<WindowData>> m_displayOwned;
};

inline WindowData* FindWindowData(HWND hWnd)
{
    return WindowTree::Get().Find(hWnd);
}

// Same as FindWindowData, setting ERROR_INVALID_WINDOW_HANDLE when absent.
WindowData* FindWindowChecked(HWND hWnd);

bool IsDesktop(const WindowData& window);
bool IsTopLevel(const WindowData& window);
WindowData& GetTopLevelOf(WindowData& window);
bool IsAncestorOf(const WindowData& ancestor, const WindowData& window);
// WS_VISIBLE on the window and every ancestor.
bool IsShownOnScreen(const WindowData& window);
bool IsEnabledWindow(const WindowData& window);

// Geometry: screen rectangles and points, and positions in the top-level
// window's surface.
RECT GetScreenWindowRect(const WindowData& window);
RECT GetScreenClientRect(const WindowData& window);
POINT GetScreenClientOrigin(const WindowData& window);
POINT GetSurfaceWindowOrigin(const WindowData& window);
POINT GetSurfaceClientOrigin(const WindowData& window);

// Children first to last: top of the Z order first.
void UnlinkFromParent(WindowData& window);
void LinkToParent(WindowData& window, WindowData& parent, std::shared_ptr<WindowData> holder,
                  HWND hInsertAfter);
// Every window below (and including) a root, parents before children.
std::vector<HWND> CollectSubtree(const WindowData& root, bool bIncludeRoot);
// The direct children, top of the Z order first: a copy, since messages sent
// to them may reorder or destroy the live list.
std::vector<HWND> GetChildHandles(const WindowData& window);
