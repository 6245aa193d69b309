// The message queue of the UI thread: posted messages, the quit request and
// raw input waiting to be routed, and the records of the messages being
// handled (innermost last), which nested sends save and restore.
#pragma once

#include "UserRawInput.h"
#include "WinUserDefs.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

struct RawInputEvent
{
    enum class enKind
    {
        MouseMove,
        MouseButton,
        MouseWheel,
        Key,
    };

    enKind kind = enKind::MouseMove;
    POINT pt{0, 0};
    enMouseButton button = enMouseButton::Left;
    bool bDown = false;
    int nDelta = 0;
    UINT nVirtKey = 0;     // as queued, possibly sided
    bool bWasDown = false; // the key was down before this event
    BYTE nScanCode = 0;
    bool bExtended = false;
    bool bHasText = false; // the keyboard said what the key types
    std::string text;      // in the ANSI code page
    WORD nKeyFlags = 0;    // MK_* at the time of the event
    DWORD dwTime = 0;
};

struct MessageRecord
{
    HWND hWnd;
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageQueue
{
public:
    static MessageQueue& Get();

    void Post(const MSG& msg);
    void PostQuit(int nExitCode);
    void QueueInput(const RawInputEvent& event);
    // The next message by the retrieval order, or false when none is ready.
    bool Retrieve(MSG& msg, HWND hFilter, UINT nMin, UINT nMax, bool bRemove);
    // Milliseconds until the next timer the filter lets through, if any.
    bool GetTimeToNextTimer(HWND hFilter, UINT nMin, UINT nMax, DWORD& dwMs) const;
    const MSG& GetLastRetrieved() const { return m_last; }
    void Clear();
    void ClearInput();

    std::vector<MessageRecord>& Records() { return m_records; }

private:
    bool RetrievePosted(MSG& msg, HWND hFilter, UINT nMin, UINT nMax, bool bRemove);
    bool RetrieveInput(MSG& msg, HWND hFilter, UINT nMin, UINT nMax, bool bRemove);

    std::mutex m_postLock; // keeps the posted list whole whatever thread posts
    std::deque<MSG> m_posted;
    std::deque<RawInputEvent> m_input;
    bool m_bQuit = false;
    int m_nQuitCode = 0;
    MSG m_last{};
    std::vector<MessageRecord> m_records;
};

bool MessagePassesFilter(HWND hMsgWnd, UINT nMsg, HWND hFilter, UINT nMin, UINT nMax);
// Calls a window procedure with a record of the message pushed meanwhile.
LRESULT CallWindowProcRecorded(WNDPROC proc, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The innermost message being handled by the window, or null.
const MessageRecord* FindHandledMessage(HWND hWnd, UINT nMsg);
