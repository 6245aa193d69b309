#include "UiHarness.h"

#include "HeadlessBackend.h"
#include "ModalAnswers.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

CInputScript& CInputScript::MouseMove(POINT ptScreen)
{
    return Do([ptScreen] { UserQueueMouseMove(ptScreen); });
}

CInputScript& CInputScript::MouseDown(enMouseButton button, POINT ptScreen)
{
    return Do([=] { UserQueueMouseButton(button, true, ptScreen); });
}

CInputScript& CInputScript::MouseUp(enMouseButton button, POINT ptScreen)
{
    return Do([=] { UserQueueMouseButton(button, false, ptScreen); });
}

CInputScript& CInputScript::Wheel(int nDelta, POINT ptScreen)
{
    return Do([=] { UserQueueMouseWheel(nDelta, ptScreen); });
}

CInputScript& CInputScript::Key(UINT nVirtKey, bool bDown)
{
    return Do([=] { UserQueueKey(nVirtKey, bDown); });
}

CInputScript& CInputScript::KeyPress(UINT nVirtKey)
{
    return Key(nVirtKey, true).Key(nVirtKey, false);
}

CInputScript& CInputScript::Wait(DWORD dwMilliseconds)
{
    return Do([dwMilliseconds] { GetPlatformClock().Sleep(dwMilliseconds); });
}

CInputScript& CInputScript::Do(std::function<void()> step)
{
    m_steps.push_back(std::move(step));
    return *this;
}

CInputScript& CInputScript::PostQuit(int nExitCode)
{
    return Do([nExitCode] { PostQuitMessage(nExitCode); });
}

bool CInputScript::PlayNext()
{
    if (m_steps.empty())
        return false;
    const std::function<void()> step = std::move(m_steps.front());
    m_steps.pop_front();
    step();
    return true;
}

CUiHarness::CUiHarness() : m_clockScope(m_clock)
{
    UserDestroyAllWindows();
    UserResetInput();
    UserResetClipboard();
    SetModalAnswerHook(nullptr);
    SetModalWindowsRun(false);
    ClearModalRequests();
    GetHeadlessBackend().SetIdleFeeder([this] { return m_script.PlayNext(); });
}

CUiHarness::~CUiHarness()
{
    GetHeadlessBackend().SetIdleFeeder(nullptr);
    GetHeadlessBackend().SetBlockedHandler(nullptr);
    SetModalAnswerHook(nullptr);
    SetModalWindowsRun(false);
    UserDestroyAllWindows();
    UserResetInput();
    UserResetClipboard();
}

void CUiHarness::MouseMove(POINT ptScreen)
{
    UserQueueMouseMove(ptScreen);
}

void CUiHarness::MouseDown(enMouseButton button, POINT ptScreen)
{
    UserQueueMouseButton(button, true, ptScreen);
}

void CUiHarness::MouseUp(enMouseButton button, POINT ptScreen)
{
    UserQueueMouseButton(button, false, ptScreen);
}

void CUiHarness::Click(enMouseButton button, POINT ptScreen)
{
    MouseDown(button, ptScreen);
    MouseUp(button, ptScreen);
}

void CUiHarness::Wheel(int nDelta, POINT ptScreen)
{
    UserQueueMouseWheel(nDelta, ptScreen);
}

void CUiHarness::KeyDown(UINT nVirtKey)
{
    UserQueueKey(nVirtKey, true);
}

void CUiHarness::KeyUp(UINT nVirtKey)
{
    UserQueueKey(nVirtKey, false);
}

void CUiHarness::KeyPress(UINT nVirtKey)
{
    KeyDown(nVirtKey);
    KeyUp(nVirtKey);
}

POINT CUiHarness::ScreenPoint(HWND hWnd, int x, int y)
{
    POINT pt{x, y};
    ClientToScreen(hWnd, &pt);
    return pt;
}

int CUiHarness::PumpPending()
{
    // Only what is ready counts: the script waits for loops that would wait,
    // including loops that the dispatched messages run.
    CHeadlessBackend& backend = GetHeadlessBackend();
    int nCount = 0;
    MSG msg;
    for (;;)
    {
        backend.SetIdleFeeder(nullptr);
        const BOOL bFound = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        backend.SetIdleFeeder([this] { return m_script.PlayNext(); });
        if (!bFound)
            break;
        if (msg.message == WM_QUIT)
        {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++nCount;
    }
    return nCount;
}

void CUiHarness::SetBlockedHandler(std::function<void()> handler)
{
    GetHeadlessBackend().SetBlockedHandler(std::move(handler));
}
