// Test windows that record every message they get and run per-window
// handlers, on top of the harness (manual clock, scripted input). A test
// that leaves a loop waiting for input fails instead of hanging.
#pragma once

#include "UiHarness.h"
#include "WinUser.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

struct RecordedMessage
{
    HWND hWnd;
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
};

// A handler answers a message, or returns nullopt to let DefWindowProc do it.
using TestHandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class UserTest : public ::testing::Test
{
protected:
    UserTest();
    ~UserTest() override;

    // Class "UserTestWindow" (arrow cursor, white background) or, with
    // CS_DBLCLKS asked, "UserTestDblClk".
    HWND CreateTestWindow(DWORD dwStyle, HWND hParent, const RECT& rect, UINT nId = 0,
                          DWORD dwExStyle = 0, bool bDoubleClicks = false);
    HWND CreateTopLevel(const RECT& rect, DWORD dwStyle = WS_POPUP | WS_VISIBLE);
    void SetHandler(HWND hWnd, TestHandler handler);
    // The messages of the kinds listed (all when empty), oldest first.
    std::vector<RecordedMessage> Messages(std::initializer_list<UINT> kinds = {}) const;
    std::vector<UINT> MessageIds(std::initializer_list<UINT> kinds = {}) const;
    void ClearMessages();
    int CountMessages(HWND hWnd, UINT nMsg) const;

    CUiHarness m_harness;
};

// The BGR value the surface holds for a COLORREF.
std::uint32_t SurfacePixel(COLORREF color);
WindowPicture ClientPicture(HWND hWnd);
