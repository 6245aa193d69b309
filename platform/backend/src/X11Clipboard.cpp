#include "X11Clipboard.h"
#include "X11SelectionReader.h"

#include "BitmapFile.h"
#include "PngFile.h"
#include "TextRecode.h"
#include "WinClipboard.h"
#include "WinCodePage.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace
{
enum enAtom
{
    kClipboard,
    kTargets,
    kUtf8String,
    kTextPlainUtf8,
    kTextPlain,
    kText,
    kImageBmp,
    kImagePng,
    kIncr,
    kAtomCount
};
const char* const kAtomNames[] = {
    "CLIPBOARD", "TARGETS",   "UTF8_STRING", "text/plain;charset=utf-8", "text/plain", "TEXT",
    "image/bmp", "image/png", "INCR"};
static_assert(std::size(kAtomNames) == kAtomCount, "one name for every atom");

// Latin-1, the text of the STRING target.
constexpr UINT kLatin1CodePage = 28591;

// A bitmap file as a packed DIB, through the GDI's one codec; empty when the
// file is not sound.
std::vector<BYTE> DibOfBmpFile(const std::vector<BYTE>& file)
{
    CBitmapBytesSource source(file);
    BitmapFileContents contents;
    if (!ReadBitmapFile(source, contents))
        return {};
    return std::move(contents.dib);
}

// A property handed over in increments.
struct OutgoingTransfer
{
    Window requestor;
    Atom property;
    Atom type;
    std::vector<BYTE> data;
    std::size_t nSent = 0;
};
} // namespace

struct CX11Clipboard::Impl
{
    Display* pDisplay;
    Window window = 0;
    std::array<Atom, kAtomCount> atoms{};
    bool bOwner = false;
    std::size_t nChunk = 0;
    std::vector<OutgoingTransfer> transfers;
    std::unique_ptr<CX11SelectionReader> pReader;

    explicit Impl(Display* pDisplayIn) : pDisplay(pDisplayIn) {}

    Atom A(enAtom atom) const { return atoms[atom]; }
    bool IsTextTarget(Atom target) const
    {
        return target == A(kUtf8String) || target == A(kTextPlainUtf8) || target == A(kTextPlain) ||
               target == A(kText) || target == XA_STRING;
    }
    std::vector<Atom> OfferedTargets() const;
    bool Serve(const XSelectionRequestEvent& request);
    bool Send(Window requestor, Atom property, Atom type, std::vector<BYTE> data);
    void Continue(const XPropertyEvent& event);
    bool Convert(Atom target, std::vector<BYTE>& bytes, Atom& type)
    {
        return pReader->Convert(A(kClipboard), target, CurrentTime, bytes, type);
    }
};

std::vector<Atom> CX11Clipboard::Impl::OfferedTargets() const
{
    std::vector<Atom> targets{A(kTargets)};
    if (!GetClipboardBytes(CF_TEXT).empty())
        targets.insert(targets.end(),
                       {A(kUtf8String), A(kTextPlainUtf8), A(kTextPlain), A(kText), XA_STRING});
    if (!GetClipboardBytes(CF_DIB).empty())
        targets.insert(targets.end(), {A(kImagePng), A(kImageBmp)});
    return targets;
}

bool CX11Clipboard::Impl::Send(Window requestor, Atom property, Atom type, std::vector<BYTE> data)
{
    if (data.size() <= nChunk)
    {
        XChangeProperty(pDisplay, requestor, property, type, 8, PropModeReplace, data.data(),
                        static_cast<int>(data.size()));
        return true;
    }
    // Too large for one request: announce the size, then hand it out a
    // chunk each time the requestor deletes the property.
    const long nSize = static_cast<long>(data.size());
    XSelectInput(pDisplay, requestor, PropertyChangeMask);
    XChangeProperty(pDisplay, requestor, property, A(kIncr), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&nSize), 1);
    transfers.push_back(OutgoingTransfer{requestor, property, type, std::move(data), 0});
    return true;
}

bool CX11Clipboard::Impl::Serve(const XSelectionRequestEvent& request)
{
    const Atom property = request.property != None ? request.property : request.target;
    bool bServed = false;
    if (bOwner && request.target == A(kTargets))
    {
        const std::vector<Atom> targets = OfferedTargets();
        XChangeProperty(pDisplay, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(targets.data()),
                        static_cast<int>(targets.size()));
        bServed = true;
    }
    else if (bOwner && IsTextTarget(request.target))
    {
        const std::vector<BYTE> ansi = GetClipboardBytes(CF_TEXT);
        std::string text(ansi.begin(), std::find(ansi.begin(), ansi.end(), BYTE(0)));
        const bool bLatin = request.target == XA_STRING;
        text = Recode(text, GetACP(), bLatin ? kLatin1CodePage : UINT(CP_UTF8));
        bServed =
            !ansi.empty() && Send(request.requestor, property, bLatin ? XA_STRING : A(kUtf8String),
                                  std::vector<BYTE>(text.begin(), text.end()));
    }
    else if (bOwner && (request.target == A(kImageBmp) || request.target == A(kImagePng)))
    {
        const std::vector<BYTE> dib = GetClipboardBytes(CF_DIB);
        std::vector<BYTE> file =
            request.target == A(kImagePng) ? PngFileOfPackedDib(dib) : BitmapFileOfPackedDib(dib);
        bServed =
            !file.empty() && Send(request.requestor, property, request.target, std::move(file));
    }
    AnswerSelectionRequest(pDisplay, request, bServed ? property : None);
    return true;
}

void CX11Clipboard::Impl::Continue(const XPropertyEvent& event)
{
    const auto it = std::find_if(transfers.begin(), transfers.end(),
                                 [&](const OutgoingTransfer& t) {
                                     return t.requestor == event.window && t.property == event.atom;
                                 });
    if (it == transfers.end() || event.state != PropertyDelete)
        return;
    const std::size_t nCount = std::min(nChunk, it->data.size() - it->nSent);
    XChangeProperty(pDisplay, it->requestor, it->property, it->type, 8, PropModeReplace,
                    it->data.data() + it->nSent, static_cast<int>(nCount));
    it->nSent += nCount;
    // A chunk of nothing ends the transfer.
    if (nCount == 0)
    {
        XSelectInput(pDisplay, it->requestor, NoEventMask);
        transfers.erase(it);
    }
    XFlush(pDisplay);
}

CX11Clipboard::CX11Clipboard(Display* pDisplay) : m(std::make_unique<Impl>(pDisplay))
{
    XInternAtoms(pDisplay, const_cast<char**>(kAtomNames), kAtomCount, False, m->atoms.data());
    const Window root = DefaultRootWindow(pDisplay);
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    m->window = XCreateWindow(pDisplay, root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                              CopyFromParent, CWEventMask, &attributes);
    m->pReader = std::make_unique<CX11SelectionReader>(pDisplay, m->window);
    long nMax = XExtendedMaxRequestSize(pDisplay);
    if (nMax == 0)
        nMax = XMaxRequestSize(pDisplay);
    // Requests count in four-byte units; the rest of the request needs room.
    m->nChunk = static_cast<std::size_t>(std::min<long>(nMax * 4 - 1024, 1 << 20));
    SetClipboardBridge(this);
}

CX11Clipboard::~CX11Clipboard()
{
    SetClipboardBridge(nullptr);
    XDestroyWindow(m->pDisplay, m->window);
}

bool CX11Clipboard::HandleEvent(const XEvent& event)
{
    switch (event.type)
    {
    case SelectionRequest:
        return event.xselectionrequest.owner == m->window && m->Serve(event.xselectionrequest);
    case SelectionClear:
        if (event.xselectionclear.window != m->window ||
            event.xselectionclear.selection != m->A(kClipboard))
            return false;
        // Another client took the clipboard: what this process had goes.
        m->bOwner = false;
        ReleaseClipboardContents();
        return true;
    case PropertyNotify:
        if (event.xproperty.window == m->window)
            return true;
        m->Continue(event.xproperty);
        return std::any_of(m->transfers.begin(), m->transfers.end(),
                           [&](const OutgoingTransfer& t)
                           { return t.requestor == event.xproperty.window; });
    case SelectionNotify:
        return event.xselection.requestor == m->window;
    default:
        return false;
    }
}

void CX11Clipboard::OnContentsChanged()
{
    XSetSelectionOwner(m->pDisplay, m->A(kClipboard), m->window, CurrentTime);
    m->bOwner = XGetSelectionOwner(m->pDisplay, m->A(kClipboard)) == m->window;
    XFlush(m->pDisplay);
}

std::vector<UINT> CX11Clipboard::GetForeignFormats()
{
    const Window owner = XGetSelectionOwner(m->pDisplay, m->A(kClipboard));
    if (owner == None || owner == m->window)
        return {};
    std::vector<BYTE> bytes;
    Atom type = None;
    if (!m->Convert(m->A(kTargets), bytes, type))
        return {};
    std::vector<UINT> formats;
    for (std::size_t at = 0; at + sizeof(long) <= bytes.size(); at += sizeof(long))
    {
        long value = 0;
        std::memcpy(&value, bytes.data() + at, sizeof(value));
        const auto target = static_cast<Atom>(value);
        const bool bImage = target == m->A(kImageBmp) || target == m->A(kImagePng);
        const UINT nFormat = m->IsTextTarget(target) ? UINT(CF_TEXT) : bImage ? UINT(CF_DIB) : 0;
        if (nFormat != 0 && std::find(formats.begin(), formats.end(), nFormat) == formats.end())
            formats.push_back(nFormat);
    }
    return formats;
}

std::vector<BYTE> CX11Clipboard::FetchForeign(UINT nFormat)
{
    std::vector<BYTE> bytes;
    Atom type = None;
    if (nFormat == CF_DIB)
    {
        // Image programs offer PNG more often than bitmap files.
        if (m->Convert(m->A(kImagePng), bytes, type))
            return PackedDibOfPngFile(bytes);
        bytes.clear();
        return m->Convert(m->A(kImageBmp), bytes, type) ? DibOfBmpFile(bytes) : std::vector<BYTE>{};
    }
    if (nFormat != CF_TEXT)
        return {};
    for (const Atom target : {m->A(kUtf8String), m->A(kTextPlainUtf8), XA_STRING})
    {
        bytes.clear();
        if (!m->Convert(target, bytes, type))
            continue;
        const std::string text =
            Recode(std::string(bytes.begin(), bytes.end()),
                   type == XA_STRING ? kLatin1CodePage : UINT(CP_UTF8), GetACP());
        return std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1);
    }
    return {};
}
