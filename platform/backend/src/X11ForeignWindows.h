// Other programs' windows on the X display, and the requests other programs
// make of this process's windows. A top-level window of a program of this
// layer carries a marker property naming its process; its window properties
// appear as X properties "_PLATFORM_PROP_" followed by the name in capitals;
// requests and messages travel as client messages to the target window, and
// the answer to a sent message comes back to a hidden window of the sender.
// Programs of other kinds are found by their titles and asked to come
// forward through the window manager; they take no messages.
#pragma once

#include "ForeignWindows.h"

#include <X11/Xlib.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CDisplayBackend;

class CX11ForeignWindows : public CForeignWindows
{
public:
    CX11ForeignWindows(Display* pDisplay, CDisplayBackend& backend);
    ~CX11ForeignWindows() override;
    CX11ForeignWindows(const CX11ForeignWindows&) = delete;
    CX11ForeignWindows& operator=(const CX11ForeignWindows&) = delete;

    // A new top-level window of this process.
    void MarkOwnWindow(Window xid);
    // Carries out another program's request to one of this process's
    // windows; false when the event is no such request.
    bool HandleRequest(const XClientMessageEvent& event);

    std::vector<HWND> GetTopLevelWindows() override;
    bool Exists(HWND hWnd) override;
    bool GetText(HWND hWnd, std::string& text) override;
    bool GetProp(HWND hWnd, LPCSTR lpszName, HANDLE& hData) override;
    bool IsMinimized(HWND hWnd) override;
    bool RequestShow(HWND hWnd, int nCmdShow) override;
    bool RequestActivation(HWND hWnd) override;
    bool Deliver(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnOwnPropChanged(HWND hWnd, LPCSTR lpszName, HANDLE hData, bool bRemoved) override;

private:
    enum class enOwner
    {
        Gone,         // no window (any more)
        ThisProcess,  // one of this process's
        LayerProgram, // another program of this layer
        OtherProgram, // a program of another kind
    };

    enOwner GetOwner(Window xid);
    Window FindClientWindow(Window xid);
    bool ReadLongs(Window xid, Atom property, Atom type, long nMax, std::vector<long>& values);
    bool ReadText(Window xid, std::string& utf8);
    void SendRequest(Window xid, Atom type, const long (&data)[5]);
    bool WaitForAnswer(Window target, long nSerial, LRESULT& result);
    void StoreAnswer(const XClientMessageEvent& event);
    void Answer(Window replyTo, long nSerial, LRESULT result, bool bDelivered);
    void ActivateOtherProgram(Window xid);

    Display* m_pDisplay;
    CDisplayBackend& m_backend;
    Window m_root;
    Window m_answerWindow = 0;
    long m_token;
    long m_nLastSerial = 0;
    // By serial, while the sender waits: delivered and result, once come.
    std::map<long, std::optional<std::pair<bool, LRESULT>>> m_answers;
    Atom m_marker;
    Atom m_sendMessage;
    Atom m_messageAnswer;
    Atom m_showWindow;
    Atom m_activate;
    Atom m_clientListStacking;
    Atom m_clientList;
    Atom m_wmState;
    Atom m_netWmName;
    Atom m_utf8String;
    Atom m_netWmState;
    Atom m_netWmStateHidden;
    Atom m_netActiveWindow;
};
