#include "X11InputMethod.h"

#include <X11/Xlocale.h>
#include <X11/Xutil.h>

#include <clocale>
#include <string>

namespace
{
void AppendUtf8(std::string& text, unsigned long code)
{
    if (code < 0x80)
    {
        text += static_cast<char>(code);
    }
    else if (code < 0x800)
    {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    else if (code < 0x10000)
    {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    else
    {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Without an input method: Latin-1 bytes from the lookup, or the symbol's
// own Unicode value.
std::string LookupWithoutInputMethod(XKeyEvent& event, KeySym& sym)
{
    char bytes[16];
    const int nCount = XLookupString(&event, bytes, sizeof(bytes), &sym, nullptr);
    std::string text;
    for (int i = 0; i < nCount; ++i)
        AppendUtf8(text, static_cast<unsigned char>(bytes[i]));
    if (nCount == 0 && (sym & 0xFF000000UL) == 0x01000000UL)
        AppendUtf8(text, sym & 0x00FFFFFFUL);
    return text;
}

// The input method takes its character set from the locale it is opened
// in; the program's own locale stays as it was.
XIM OpenInUtf8Locale(Display* pDisplay)
{
    const char* pszCurrent = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = pszCurrent != nullptr ? pszCurrent : "C";
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr)
        return nullptr;
    XIM im = nullptr;
    // A server that XMODIFIERS names but that does not run: the built-in one.
    for (const char* pszModifiers : {"", "@im=none"})
    {
        if (XSupportsLocale() && XSetLocaleModifiers(pszModifiers) != nullptr)
            im = XOpenIM(pDisplay, nullptr, nullptr, nullptr);
        if (im != nullptr)
            break;
    }
    std::setlocale(LC_CTYPE, previous.c_str());
    return im;
}
} // namespace

CX11InputMethod::CX11InputMethod(Display* pDisplay)
    : m_pDisplay(pDisplay), m_im(OpenInUtf8Locale(pDisplay))
{
}

CX11InputMethod::~CX11InputMethod()
{
    for (const auto& [window, context] : m_contexts)
        XDestroyIC(context);
    if (m_im != nullptr)
        XCloseIM(m_im);
}

void CX11InputMethod::Attach(Window window)
{
    if (m_im == nullptr || m_contexts.contains(window))
        return;
    XIC context = XCreateIC(m_im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                            XNClientWindow, window, XNFocusWindow, window, nullptr);
    if (context == nullptr)
        return;
    // The input method may need events of the window that we do not ask for.
    long nFilterEvents = 0;
    XWindowAttributes attributes{};
    if (XGetICValues(context, XNFilterEvents, &nFilterEvents, nullptr) == nullptr &&
        XGetWindowAttributes(m_pDisplay, window, &attributes))
        XSelectInput(m_pDisplay, window, attributes.your_event_mask | nFilterEvents);
    m_contexts.emplace(window, context);
}

void CX11InputMethod::Detach(Window window)
{
    const auto found = m_contexts.find(window);
    if (found == m_contexts.end())
        return;
    XDestroyIC(found->second);
    m_contexts.erase(found);
}

void CX11InputMethod::SetFocus(Window window, bool bFocus)
{
    const auto found = m_contexts.find(window);
    if (found == m_contexts.end())
        return;
    if (bFocus)
        XSetICFocus(found->second);
    else
        XUnsetICFocus(found->second);
}

bool CX11InputMethod::Filter(XEvent& event)
{
    return m_im != nullptr && XFilterEvent(&event, None) == True;
}

std::string CX11InputMethod::LookupText(XKeyEvent& event, KeySym& sym)
{
    sym = NoSymbol;
    const auto found = m_contexts.find(event.window);
    if (found == m_contexts.end())
        return LookupWithoutInputMethod(event, sym);
    char bytes[64];
    Status status = 0;
    int nCount = Xutf8LookupString(found->second, &event, bytes, sizeof(bytes) - 1, &sym, &status);
    if (status == XBufferOverflow)
    {
        std::string text(static_cast<std::size_t>(nCount), '\0');
        nCount = Xutf8LookupString(found->second, &event, text.data(), nCount, &sym, &status);
        text.resize(static_cast<std::size_t>(nCount > 0 ? nCount : 0));
        return status == XLookupChars || status == XLookupBoth ? text : std::string();
    }
    if (status != XLookupChars && status != XLookupBoth)
        return {};
    return std::string(bytes, static_cast<std::size_t>(nCount));
}
