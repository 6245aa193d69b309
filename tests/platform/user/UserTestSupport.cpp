#include "UserTestSupport.h"

#include "WinModule.h"

#include <algorithm>
#include <map>

namespace
{
std::vector<RecordedMessage> gMessages;
std::map<HWND, TestHandler> gHandlers;

LRESULT RecordingProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    gMessages.push_back(RecordedMessage{hWnd, nMsg, wParam, lParam});
    const auto it = gHandlers.find(hWnd);
    if (it != gHandlers.end())
    {
        // A copy: the handler may replace itself.
        const TestHandler handler = it->second;
        if (const std::optional<LRESULT> answer = handler(hWnd, nMsg, wParam, lParam))
            return *answer;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

void RegisterTestClass(LPCSTR lpszName, UINT nStyle)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), lpszName, &wc))
        return;
    wc.style = nStyle;
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = lpszName;
    RegisterClassA(&wc);
}
} // namespace

UserTest::UserTest()
{
    gMessages.clear();
    gHandlers.clear();
    RegisterTestClass("UserTestWindow", 0);
    RegisterTestClass("UserTestDblClk", CS_DBLCLKS);
    m_harness.SetBlockedHandler(
        []
        {
            ADD_FAILURE() << "a message loop waited with nothing left to come";
            PostQuitMessage(99);
        });
}

UserTest::~UserTest()
{
    gHandlers.clear();
}

HWND UserTest::CreateTestWindow(DWORD dwStyle, HWND hParent, const RECT& rect, UINT nId,
                                DWORD dwExStyle, bool bDoubleClicks)
{
    return CreateWindowExA(
        dwExStyle, bDoubleClicks ? "UserTestDblClk" : "UserTestWindow", "test", dwStyle, rect.left,
        rect.top, rect.right - rect.left, rect.bottom - rect.top, hParent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)), GetModuleHandleA(nullptr), nullptr);
}

HWND UserTest::CreateTopLevel(const RECT& rect, DWORD dwStyle)
{
    return CreateTestWindow(dwStyle, nullptr, rect);
}

void UserTest::SetHandler(HWND hWnd, TestHandler handler)
{
    if (handler)
        gHandlers[hWnd] = std::move(handler);
    else
        gHandlers.erase(hWnd);
}

std::vector<RecordedMessage> UserTest::Messages(std::initializer_list<UINT> kinds) const
{
    std::vector<RecordedMessage> selected;
    for (const RecordedMessage& message : gMessages)
    {
        if (kinds.size() == 0 || std::find(kinds.begin(), kinds.end(), message.nMsg) != kinds.end())
            selected.push_back(message);
    }
    return selected;
}

std::vector<UINT> UserTest::MessageIds(std::initializer_list<UINT> kinds) const
{
    std::vector<UINT> ids;
    for (const RecordedMessage& message : Messages(kinds))
        ids.push_back(message.nMsg);
    return ids;
}

void UserTest::ClearMessages()
{
    gMessages.clear();
}

int UserTest::CountMessages(HWND hWnd, UINT nMsg) const
{
    return static_cast<int>(std::count_if(gMessages.begin(), gMessages.end(),
                                          [&](const RecordedMessage& message) {
                                              return message.hWnd == hWnd && message.nMsg == nMsg;
                                          }));
}

std::uint32_t SurfacePixel(COLORREF color)
{
    return (std::uint32_t(GetRValue(color)) << 16) | (std::uint32_t(GetGValue(color)) << 8) |
           GetBValue(color);
}

WindowPicture ClientPicture(HWND hWnd)
{
    WindowPicture picture;
    UserGetWindowPicture(hWnd, true, picture);
    return picture;
}
