// Message maps: the tables that route window messages, commands, command
// updates and notifications to the member functions of CCmdTarget classes.
// Each entry holds a small function made for that handler by the map macro,
// which takes the message apart the way the handler's signature expects.
#pragma once

#include "WinGeometry.h"
#include "WinUser.h"

#include <tuple>
#include <type_traits>

class CCmdTarget;
class CCmdUI;
class CDC;
class CMenu;
class CScrollBar;
class CWnd;

// The framework's private messages and notification codes.
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
#define WM_KICKIDLE 0x036A
#define WM_CTLCOLOR 0x0019
#define WM_REFLECT_BASE 0xBC00
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (static_cast<UINT>(-1))
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#define afx_msg

// One call of a handler: the message and, for commands and notifications,
// the id, the update or notification record and where the answer goes.
struct AFX_MSGCALL
{
    UINT nMsg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT nID = 0;               // command or control id; the colour kind for WM_CTLCOLOR
    void* pExtra = nullptr;     // CCmdUI* of an update, NMHDR* of a notification
    LRESULT* pResult = nullptr; // a notification's answer
    LRESULT lResult = 0;        // the message's answer
};

// TRUE when the handler handled the call (the _EX forms may decline).
using AFX_PMSG_THUNK = BOOL (*)(CCmdTarget* pTarget, AFX_MSGCALL& call);

enum AfxSig : UINT_PTR
{
    AfxSig_end = 0,
    AfxSig_message,
    AfxSig_command,
    AfxSig_update,
    AfxSig_notify,
    AfxSig_reflect,
    AfxSig_registered,
};

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG_THUNK pfn;
    const UINT* pnRegistered = nullptr; // the number of a registered message
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// ---------------------------------------------------------------- handler calls
template <typename T> struct AfxMemberTraits;
template <typename C, typename R, typename... A> struct AfxMemberTraits<R (C::*)(A...)>
{
    using Class = C;
    using Result = R;
    template <std::size_t N> using Arg = std::tuple_element_t<N, std::tuple<A...>>;
};

// Calls the handler on the target and keeps what it returns as the answer.
template <auto pmf, typename... Args>
BOOL AfxCallHandler(CCmdTarget* pTarget, AFX_MSGCALL& call, Args... args)
{
    using Traits = AfxMemberTraits<decltype(pmf)>;
    using R = typename Traits::Result;
    auto* pObject = static_cast<typename Traits::Class*>(pTarget);
    if constexpr (std::is_void_v<R>)
    {
        (pObject->*pmf)(args...);
    }
    else if constexpr (std::is_pointer_v<R>)
    {
        call.lResult = reinterpret_cast<LRESULT>((pObject->*pmf)(args...));
    }
    else if constexpr (std::is_integral_v<R> && sizeof(R) < sizeof(LRESULT))
    {
        // UINT answers such as HTTRANSPARENT keep their sign.
        call.lResult =
            static_cast<LRESULT>(static_cast<std::make_signed_t<R>>((pObject->*pmf)(args...)));
    }
    else
    {
        call.lResult = static_cast<LRESULT>((pObject->*pmf)(args...));
    }
    return TRUE;
}

// Window wrappers for handles in parameters; defined with CWnd.
PLATFORMUI_API CWnd* AfxWndFromHandle(HWND hWnd);
PLATFORMUI_API CDC* AfxDCFromHandle(HDC hDC);
PLATFORMUI_API CScrollBar* AfxScrollBarFromHandle(HWND hWnd);
PLATFORMUI_API CMenu* AfxMenuFromHandle(HMENU hMenu);

inline HWND AfxHwndOf(WPARAM value)
{
    return reinterpret_cast<HWND>(value);
}
inline HWND AfxHwndOfL(LPARAM value)
{
    return reinterpret_cast<HWND>(value);
}

template <auto pmf> BOOL AfxThunk_v(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c);
}
template <auto pmf> BOOL AfxThunk_lParam(CCmdTarget* p, AFX_MSGCALL& c)
{
    using A0 = typename AfxMemberTraits<decltype(pmf)>::template Arg<0>;
    return AfxCallHandler<pmf>(p, c, reinterpret_cast<A0>(c.lParam));
}
template <auto pmf> BOOL AfxThunk_intlParam(CCmdTarget* p, AFX_MSGCALL& c)
{
    using A1 = typename AfxMemberTraits<decltype(pmf)>::template Arg<1>;
    return AfxCallHandler<pmf>(p, c, static_cast<int>(c.wParam), reinterpret_cast<A1>(c.lParam));
}
template <auto pmf> BOOL AfxThunk_boollParam(CCmdTarget* p, AFX_MSGCALL& c)
{
    using A1 = typename AfxMemberTraits<decltype(pmf)>::template Arg<1>;
    return AfxCallHandler<pmf>(p, c, static_cast<BOOL>(c.wParam), reinterpret_cast<A1>(c.lParam));
}
template <auto pmf> BOOL AfxThunk_size(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<UINT>(c.wParam), int(LOWORD(c.lParam)),
                               int(HIWORD(c.lParam)));
}
template <auto pmf> BOOL AfxThunk_move(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));
}
template <auto pmf> BOOL AfxThunk_activate(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, UINT(LOWORD(c.wParam)), AfxWndFromHandle(AfxHwndOfL(c.lParam)),
                               BOOL(HIWORD(c.wParam)));
}
template <auto pmf> BOOL AfxThunk_wndW(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, AfxWndFromHandle(AfxHwndOf(c.wParam)));
}
template <auto pmf> BOOL AfxThunk_wndL(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, AfxWndFromHandle(AfxHwndOfL(c.lParam)));
}
template <auto pmf> BOOL AfxThunk_boolW(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<BOOL>(c.wParam));
}
template <auto pmf> BOOL AfxThunk_dcW(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, AfxDCFromHandle(reinterpret_cast<HDC>(c.wParam)));
}
template <auto pmf> BOOL AfxThunk_showWindow(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));
}
template <auto pmf> BOOL AfxThunk_wndHitMsg(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, AfxWndFromHandle(AfxHwndOf(c.wParam)),
                               static_cast<UINT>(static_cast<SHORT>(LOWORD(c.lParam))),
                               UINT(HIWORD(c.lParam)));
}
template <auto pmf> BOOL AfxThunk_wndPoint(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, AfxWndFromHandle(AfxHwndOf(c.wParam)), CPoint(c.lParam));
}
template <auto pmf> BOOL AfxThunk_point(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, CPoint(c.lParam));
}
template <auto pmf> BOOL AfxThunk_flagsPoint(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<UINT>(c.wParam), CPoint(c.lParam));
}
template <auto pmf> BOOL AfxThunk_wheel(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, UINT(LOWORD(c.wParam)), static_cast<short>(HIWORD(c.wParam)),
                               CPoint(c.lParam));
}
template <auto pmf> BOOL AfxThunk_key(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<UINT>(c.wParam), UINT(LOWORD(c.lParam)),
                               UINT(HIWORD(c.lParam)));
}
template <auto pmf> BOOL AfxThunk_sysCommand(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<UINT>(c.wParam), c.lParam);
}
template <auto pmf> BOOL AfxThunk_timer(CCmdTarget* p, AFX_MSGCALL& c)
{
    using A0 = typename AfxMemberTraits<decltype(pmf)>::template Arg<0>;
    return AfxCallHandler<pmf>(p, c, static_cast<A0>(c.wParam));
}
template <auto pmf> BOOL AfxThunk_scroll(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, UINT(LOWORD(c.wParam)), UINT(HIWORD(c.wParam)),
                               AfxScrollBarFromHandle(AfxHwndOfL(c.lParam)));
}
template <auto pmf> BOOL AfxThunk_ctlColor(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, AfxDCFromHandle(reinterpret_cast<HDC>(c.wParam)),
                               AfxWndFromHandle(AfxHwndOfL(c.lParam)), c.nID);
}
template <auto pmf> BOOL AfxThunk_menuSelect(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, UINT(LOWORD(c.wParam)), UINT(HIWORD(c.wParam)),
                               reinterpret_cast<HMENU>(c.lParam));
}
template <auto pmf> BOOL AfxThunk_initMenu(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, AfxMenuFromHandle(reinterpret_cast<HMENU>(c.wParam)));
}
template <auto pmf> BOOL AfxThunk_initMenuPopup(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, AfxMenuFromHandle(reinterpret_cast<HMENU>(c.wParam)),
                               UINT(LOWORD(c.lParam)), BOOL(HIWORD(c.lParam)));
}
template <auto pmf> BOOL AfxThunk_menuChar(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, UINT(LOWORD(c.wParam)), UINT(HIWORD(c.wParam)),
                               AfxMenuFromHandle(reinterpret_cast<HMENU>(c.lParam)));
}
template <auto pmf> BOOL AfxThunk_wParam(CCmdTarget* p, AFX_MSGCALL& c)
{
    using A0 = typename AfxMemberTraits<decltype(pmf)>::template Arg<0>;
    if constexpr (std::is_pointer_v<A0>)
        return AfxCallHandler<pmf>(p, c, reinterpret_cast<A0>(c.wParam));
    else
        return AfxCallHandler<pmf>(p, c, static_cast<A0>(c.wParam));
}
template <auto pmf> BOOL AfxThunk_setting(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<UINT>(c.wParam),
                               reinterpret_cast<LPCSTR>(c.lParam));
}
template <auto pmf> BOOL AfxThunk_message(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, c.wParam, c.lParam);
}
template <auto pmf> BOOL AfxThunk_id(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, c.nID);
}
template <auto pmf> BOOL AfxThunk_idEx(CCmdTarget* p, AFX_MSGCALL& c)
{
    using Class = typename AfxMemberTraits<decltype(pmf)>::Class;
    return (static_cast<Class*>(p)->*pmf)(c.nID);
}
template <auto pmf> BOOL AfxThunk_update(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<CCmdUI*>(c.pExtra));
}
template <auto pmf> BOOL AfxThunk_notify(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, static_cast<NMHDR*>(c.pExtra), c.pResult);
}
template <auto pmf> BOOL AfxThunk_notifyRange(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, c.nID, static_cast<NMHDR*>(c.pExtra), c.pResult);
}
template <auto pmf> BOOL AfxThunk_notifyEx(CCmdTarget* p, AFX_MSGCALL& c)
{
    using Class = typename AfxMemberTraits<decltype(pmf)>::Class;
    return (static_cast<Class*>(p)->*pmf)(c.nID, static_cast<NMHDR*>(c.pExtra), c.pResult);
}
template <auto pmf> BOOL AfxThunk_notifyReflectEx(CCmdTarget* p, AFX_MSGCALL& c)
{
    using Class = typename AfxMemberTraits<decltype(pmf)>::Class;
    return (static_cast<Class*>(p)->*pmf)(static_cast<NMHDR*>(c.pExtra), c.pResult);
}
template <auto pmf> BOOL AfxThunk_reflectEx(CCmdTarget* p, AFX_MSGCALL&)
{
    using Class = typename AfxMemberTraits<decltype(pmf)>::Class;
    return (static_cast<Class*>(p)->*pmf)();
}
template <auto pmf> BOOL AfxThunk_ctlColorReflect(CCmdTarget* p, AFX_MSGCALL& c)
{
    AfxCallHandler<pmf>(p, c, AfxDCFromHandle(reinterpret_cast<HDC>(c.wParam)), c.nID);
    return c.lResult != 0;
}
template <auto pmf> BOOL AfxThunk_scrollReflect(CCmdTarget* p, AFX_MSGCALL& c)
{
    return AfxCallHandler<pmf>(p, c, UINT(LOWORD(c.wParam)), UINT(HIWORD(c.wParam)));
}

// ---------------------------------------------------------------- map macros
#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, AfxSig_end, nullptr, nullptr                                                   \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define AFX_MSG_ENTRY(message, thunk, fn)                                                          \
    {message, 0, 0, 0, AfxSig_message, &thunk<&ThisClass::fn>, nullptr},

#define ON_MESSAGE(message, memberFxn) AFX_MSG_ENTRY(message, AfxThunk_message, memberFxn)
#define ON_MESSAGE_VOID(message, memberFxn) AFX_MSG_ENTRY(message, AfxThunk_v, memberFxn)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                         \
    {0xC000,           0, 0, 0, AfxSig_registered, &AfxThunk_message<&ThisClass::memberFxn>,       \
     &nMessageVariable},

#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, AfxThunk_lParam, OnCreate)
#define ON_WM_NCCREATE() AFX_MSG_ENTRY(WM_NCCREATE, AfxThunk_lParam, OnNcCreate)
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, AfxThunk_v, OnDestroy)
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, AfxThunk_v, OnNcDestroy)
#define ON_WM_MOVE() AFX_MSG_ENTRY(WM_MOVE, AfxThunk_move, OnMove)
#define ON_WM_SIZE() AFX_MSG_ENTRY(WM_SIZE, AfxThunk_size, OnSize)
#define ON_WM_ACTIVATE() AFX_MSG_ENTRY(WM_ACTIVATE, AfxThunk_activate, OnActivate)
#define ON_WM_SETFOCUS() AFX_MSG_ENTRY(WM_SETFOCUS, AfxThunk_wndW, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, AfxThunk_wndW, OnKillFocus)
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, AfxThunk_boolW, OnEnable)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, AfxThunk_v, OnPaint)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, AfxThunk_v, OnClose)
#define ON_WM_ERASEBKGND() AFX_MSG_ENTRY(WM_ERASEBKGND, AfxThunk_dcW, OnEraseBkgnd)
#define ON_WM_SYSCOLORCHANGE() AFX_MSG_ENTRY(WM_SYSCOLORCHANGE, AfxThunk_v, OnSysColorChange)
#define ON_WM_SHOWWINDOW() AFX_MSG_ENTRY(WM_SHOWWINDOW, AfxThunk_showWindow, OnShowWindow)
#define ON_WM_SETTINGCHANGE() AFX_MSG_ENTRY(WM_SETTINGCHANGE, AfxThunk_setting, OnSettingChange)
#define ON_WM_FONTCHANGE() AFX_MSG_ENTRY(WM_FONTCHANGE, AfxThunk_v, OnFontChange)
#define ON_WM_CANCELMODE() AFX_MSG_ENTRY(WM_CANCELMODE, AfxThunk_v, OnCancelMode)
#define ON_WM_SETCURSOR() AFX_MSG_ENTRY(WM_SETCURSOR, AfxThunk_wndHitMsg, OnSetCursor)
#define ON_WM_MOUSEACTIVATE() AFX_MSG_ENTRY(WM_MOUSEACTIVATE, AfxThunk_wndHitMsg, OnMouseActivate)
#define ON_WM_GETMINMAXINFO() AFX_MSG_ENTRY(WM_GETMINMAXINFO, AfxThunk_lParam, OnGetMinMaxInfo)
#define ON_WM_DRAWITEM() AFX_MSG_ENTRY(WM_DRAWITEM, AfxThunk_intlParam, OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_MSG_ENTRY(WM_MEASUREITEM, AfxThunk_intlParam, OnMeasureItem)
#define ON_WM_WINDOWPOSCHANGING()                                                                  \
    AFX_MSG_ENTRY(WM_WINDOWPOSCHANGING, AfxThunk_lParam, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED()                                                                   \
    AFX_MSG_ENTRY(WM_WINDOWPOSCHANGED, AfxThunk_lParam, OnWindowPosChanged)
#define ON_WM_CONTEXTMENU() AFX_MSG_ENTRY(WM_CONTEXTMENU, AfxThunk_wndPoint, OnContextMenu)
#define ON_WM_STYLECHANGING() AFX_MSG_ENTRY(WM_STYLECHANGING, AfxThunk_intlParam, OnStyleChanging)
#define ON_WM_STYLECHANGED() AFX_MSG_ENTRY(WM_STYLECHANGED, AfxThunk_intlParam, OnStyleChanged)
#define ON_WM_NCCALCSIZE() AFX_MSG_ENTRY(WM_NCCALCSIZE, AfxThunk_boollParam, OnNcCalcSize)
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, AfxThunk_point, OnNcHitTest)
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, AfxThunk_v, OnNcPaint)
#define ON_WM_NCACTIVATE() AFX_MSG_ENTRY(WM_NCACTIVATE, AfxThunk_boolW, OnNcActivate)
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, AfxThunk_v, OnGetDlgCode)
#define ON_WM_NCMOUSEMOVE() AFX_MSG_ENTRY(WM_NCMOUSEMOVE, AfxThunk_flagsPoint, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_MSG_ENTRY(WM_NCLBUTTONDOWN, AfxThunk_flagsPoint, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_MSG_ENTRY(WM_NCLBUTTONUP, AfxThunk_flagsPoint, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK()                                                                    \
    AFX_MSG_ENTRY(WM_NCLBUTTONDBLCLK, AfxThunk_flagsPoint, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_MSG_ENTRY(WM_NCRBUTTONDOWN, AfxThunk_flagsPoint, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_MSG_ENTRY(WM_NCRBUTTONUP, AfxThunk_flagsPoint, OnNcRButtonUp)
#define ON_WM_NCMBUTTONDOWN() AFX_MSG_ENTRY(WM_NCMBUTTONDOWN, AfxThunk_flagsPoint, OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_MSG_ENTRY(WM_NCMBUTTONUP, AfxThunk_flagsPoint, OnNcMButtonUp)
#define ON_WM_KEYDOWN() AFX_MSG_ENTRY(WM_KEYDOWN, AfxThunk_key, OnKeyDown)
#define ON_WM_KEYUP() AFX_MSG_ENTRY(WM_KEYUP, AfxThunk_key, OnKeyUp)
#define ON_WM_CHAR() AFX_MSG_ENTRY(WM_CHAR, AfxThunk_key, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_MSG_ENTRY(WM_SYSKEYDOWN, AfxThunk_key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_MSG_ENTRY(WM_SYSKEYUP, AfxThunk_key, OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_MSG_ENTRY(WM_SYSCHAR, AfxThunk_key, OnSysChar)
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, AfxThunk_sysCommand, OnSysCommand)
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, AfxThunk_timer, OnTimer)
#define ON_WM_HSCROLL() AFX_MSG_ENTRY(WM_HSCROLL, AfxThunk_scroll, OnHScroll)
#define ON_WM_VSCROLL() AFX_MSG_ENTRY(WM_VSCROLL, AfxThunk_scroll, OnVScroll)
#define ON_WM_CTLCOLOR() AFX_MSG_ENTRY(WM_CTLCOLOR, AfxThunk_ctlColor, OnCtlColor)
#define ON_WM_MOUSEMOVE() AFX_MSG_ENTRY(WM_MOUSEMOVE, AfxThunk_flagsPoint, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MSG_ENTRY(WM_LBUTTONDOWN, AfxThunk_flagsPoint, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MSG_ENTRY(WM_LBUTTONUP, AfxThunk_flagsPoint, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MSG_ENTRY(WM_LBUTTONDBLCLK, AfxThunk_flagsPoint, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MSG_ENTRY(WM_RBUTTONDOWN, AfxThunk_flagsPoint, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MSG_ENTRY(WM_RBUTTONUP, AfxThunk_flagsPoint, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MSG_ENTRY(WM_RBUTTONDBLCLK, AfxThunk_flagsPoint, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MSG_ENTRY(WM_MBUTTONDOWN, AfxThunk_flagsPoint, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MSG_ENTRY(WM_MBUTTONUP, AfxThunk_flagsPoint, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_MSG_ENTRY(WM_MBUTTONDBLCLK, AfxThunk_flagsPoint, OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL() AFX_MSG_ENTRY(WM_MOUSEWHEEL, AfxThunk_wheel, OnMouseWheel)
#define ON_WM_CAPTURECHANGED() AFX_MSG_ENTRY(WM_CAPTURECHANGED, AfxThunk_wndL, OnCaptureChanged)
#define ON_WM_DROPFILES() AFX_MSG_ENTRY(WM_DROPFILES, AfxThunk_wParam, OnDropFiles)
#define ON_WM_QUERYNEWPALETTE() AFX_MSG_ENTRY(WM_QUERYNEWPALETTE, AfxThunk_v, OnQueryNewPalette)
#define ON_WM_PALETTECHANGED() AFX_MSG_ENTRY(WM_PALETTECHANGED, AfxThunk_wndW, OnPaletteChanged)
#define ON_WM_MENUSELECT() AFX_MSG_ENTRY(WM_MENUSELECT, AfxThunk_menuSelect, OnMenuSelect)
#define ON_WM_INITMENU() AFX_MSG_ENTRY(WM_INITMENU, AfxThunk_initMenu, OnInitMenu)
#define ON_WM_INITMENUPOPUP()                                                                      \
    AFX_MSG_ENTRY(WM_INITMENUPOPUP, AfxThunk_initMenuPopup, OnInitMenuPopup)
#define ON_WM_MENUCHAR() AFX_MSG_ENTRY(WM_MENUCHAR, AfxThunk_menuChar, OnMenuChar)

// Commands and their updates.
#define ON_COMMAND(id, memberFxn)                                                                  \
    {                                                                                              \
        WM_COMMAND, CN_COMMAND,     UINT(id),                                                      \
        UINT(id),   AfxSig_command, &AfxThunk_v<&ThisClass::memberFxn>,                            \
        nullptr},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,   CN_COMMAND,     UINT(id),                                                       \
     UINT(idLast), AfxSig_command, &AfxThunk_id<&ThisClass::memberFxn>,                            \
     nullptr},
#define ON_COMMAND_EX(id, memberFxn)                                                               \
    {WM_COMMAND, CN_COMMAND,     UINT(id),                                                         \
     UINT(id),   AfxSig_command, &AfxThunk_idEx<&ThisClass::memberFxn>,                            \
     nullptr},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                 \
    {WM_COMMAND,   CN_COMMAND,     UINT(id),                                                       \
     UINT(idLast), AfxSig_command, &AfxThunk_idEx<&ThisClass::memberFxn>,                          \
     nullptr},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                        \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, UINT(id),                                                   \
     UINT(id),   AfxSig_update,        &AfxThunk_update<&ThisClass::memberFxn>,                    \
     nullptr},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                          \
    {WM_COMMAND,   CN_UPDATE_COMMAND_UI, UINT(id),                                                 \
     UINT(idLast), AfxSig_update,        &AfxThunk_update<&ThisClass::memberFxn>,                  \
     nullptr},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND, UINT(wNotifyCode), UINT(id),                                                      \
     UINT(id),   AfxSig_command,    &AfxThunk_v<&ThisClass::memberFxn>,                            \
     nullptr},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                       \
    {WM_COMMAND,   UINT(wNotifyCode), UINT(id),                                                    \
     UINT(idLast), AfxSig_command,    &AfxThunk_id<&ThisClass::memberFxn>,                         \
     nullptr},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// Notifications from controls.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                      \
    {WM_NOTIFY, UINT(wNotifyCode), UINT(id),                                                       \
     UINT(id),  AfxSig_notify,     &AfxThunk_notify<&ThisClass::memberFxn>,                        \
     nullptr},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                        \
    {WM_NOTIFY,    UINT(wNotifyCode), UINT(id),                                                    \
     UINT(idLast), AfxSig_notify,     &AfxThunk_notifyRange<&ThisClass::memberFxn>,                \
     nullptr},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                   \
    {WM_NOTIFY, UINT(wNotifyCode), UINT(id),                                                       \
     UINT(id),  AfxSig_notify,     &AfxThunk_notifyEx<&ThisClass::memberFxn>,                      \
     nullptr},

// Notifications reflected back to the control that sent them.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                  \
    {WM_NOTIFY + WM_REFLECT_BASE,                                                                  \
     UINT(wNotifyCode),                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_reflect,                                                                               \
     &AfxThunk_notify<&ThisClass::memberFxn>,                                                      \
     nullptr},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                               \
    {WM_NOTIFY + WM_REFLECT_BASE,                                                                  \
     UINT(wNotifyCode),                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_reflect,                                                                               \
     &AfxThunk_notifyReflectEx<&ThisClass::memberFxn>,                                             \
     nullptr},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                 \
    {WM_COMMAND + WM_REFLECT_BASE,                                                                 \
     UINT(wNotifyCode),                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_reflect,                                                                               \
     &AfxThunk_v<&ThisClass::memberFxn>,                                                           \
     nullptr},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                              \
    {WM_COMMAND + WM_REFLECT_BASE,                                                                 \
     UINT(wNotifyCode),                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_reflect,                                                                               \
     &AfxThunk_reflectEx<&ThisClass::memberFxn>,                                                   \
     nullptr},
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    {WM_CTLCOLOR + WM_REFLECT_BASE,                                                                \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_reflect,                                                                               \
     &AfxThunk_ctlColorReflect<&ThisClass::CtlColor>,                                              \
     nullptr},
#define ON_WM_HSCROLL_REFLECT()                                                                    \
    {WM_HSCROLL + WM_REFLECT_BASE,                                                                 \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_reflect,                                                                               \
     &AfxThunk_scrollReflect<&ThisClass::HScroll>,                                                 \
     nullptr},
#define ON_WM_VSCROLL_REFLECT()                                                                    \
    {WM_VSCROLL + WM_REFLECT_BASE,                                                                 \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_reflect,                                                                               \
     &AfxThunk_scrollReflect<&ThisClass::VScroll>,                                                 \
     nullptr},

// Event sink maps of ActiveX controls: accepted and inert, since no control
// is ever created.
#define DECLARE_EVENTSINK_MAP()
#define BEGIN_EVENTSINK_MAP(theClass, baseClass) static_assert(sizeof(theClass) > 0
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)
#define END_EVENTSINK_MAP() );
