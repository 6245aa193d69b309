#include "X11DropTarget.h"

#include "OleDataStore.h"
#include "OleDragSession.h"
#include "TextRecode.h"
#include "WinClipboard.h"
#include "WinCodePage.h"
#include "WinDropFiles.h"
#include "X11SelectionReader.h"
#include "X11Xdnd.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
// The data of a drag from another client, read from its selection the first
// time a target asks for a format and kept for the rest of the drag.
class CX11DragData final : public CComObject<IDataObject, IID_IDataObject>
{
public:
    CX11DragData(CX11SelectionReader& reader, Atom selection, Atom uriList, Atom text)
        : m_reader(reader), m_selection(selection), m_uriList(uriList), m_text(text),
          m_pStore(COleDataStore::Create())
    {
    }

    void SetTime(Time time) { m_time = time; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override
    {
        const HRESULT hr = QueryGetData(pFormat);
        if (hr != S_OK)
            return hr;
        Fetch(pFormat->cfFormat);
        return m_pStore->GetData(pFormat, pMedium);
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pFormat) override
    {
        if (pFormat == nullptr)
            return E_INVALIDARG;
        if ((pFormat->tymed & TYMED_HGLOBAL) == 0)
            return DV_E_TYMED;
        return SourceOf(pFormat->cfFormat) != None ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) override
    {
        COleDataStore* pList = COleDataStore::Create();
        for (const CLIPFORMAT cfFormat : {CLIPFORMAT(CF_HDROP), CLIPFORMAT(CF_TEXT)})
        {
            if (SourceOf(cfFormat) != None)
                pList->SetBytes(cfFormat, nullptr, 0);
        }
        const HRESULT hr = pList->EnumFormatEtc(dwDirection, ppEnum);
        pList->Release();
        return hr;
    }

private:
    ~CX11DragData() override { m_pStore->Release(); }

    Atom SourceOf(CLIPFORMAT cfFormat) const
    {
        return cfFormat == CF_HDROP ? m_uriList : cfFormat == CF_TEXT ? m_text : None;
    }
    void Fetch(CLIPFORMAT cfFormat)
    {
        if (m_pStore->Has(cfFormat))
            return;
        std::vector<unsigned char> bytes;
        Atom type = None;
        if (!m_reader.Convert(m_selection, SourceOf(cfFormat), m_time, bytes, type))
            return;
        const std::string text(bytes.begin(), bytes.end());
        if (cfFormat == CF_HDROP)
        {
            const HDROP hDrop = CreateDropFiles(PathsOfUriList(text), POINT{0, 0});
            if (hDrop != nullptr)
                m_pStore->SetGlobal(CF_HDROP, reinterpret_cast<HGLOBAL>(hDrop));
            return;
        }
        const std::string ansi = Recode(text, CP_UTF8, GetACP());
        m_pStore->SetBytes(CF_TEXT, ansi.c_str(), ansi.size() + 1);
    }

    CX11SelectionReader& m_reader;
    Atom m_selection;
    Atom m_uriList;
    Atom m_text;
    Time m_time = CurrentTime;
    COleDataStore* m_pStore;
};
} // namespace

struct CX11DropTarget::Impl
{
    Display* pDisplay;
    CXdndAtoms atoms;
    Window window = 0;
    std::unique_ptr<CX11SelectionReader> pReader;
    // The drag under way: its source, the window it is over, its data.
    Window source = 0;
    Window over = 0;
    CX11DragData* pData = nullptr;
    std::unique_ptr<COleDragSession> pSession;
    POINT ptLast{};
    DWORD dwKeysLast = 0;

    explicit Impl(Display* pDisplayIn) : pDisplay(pDisplayIn), atoms(pDisplayIn) {}
    Atom A(enXdndAtom atom) const { return atoms[atom]; }

    std::vector<Atom> OfferedTypes(const XClientMessageEvent& event) const;
    void Enter(const XClientMessageEvent& event);
    void Position(const XClientMessageEvent& event);
    void Drop(const XClientMessageEvent& event);
    void End();
    void Reply(enXdndAtom type, long nFlags, long nThird, long nFifth);
};

std::vector<Atom> CX11DropTarget::Impl::OfferedTypes(const XClientMessageEvent& event) const
{
    std::vector<Atom> types;
    if ((event.data.l[1] & 1) == 0)
    {
        for (int i = 2; i < 5; ++i)
        {
            if (event.data.l[i] != None)
                types.push_back(static_cast<Atom>(event.data.l[i]));
        }
        return types;
    }
    // More than three: the source's list property holds them.
    Atom type = None;
    int nFormat = 0;
    unsigned long nItems = 0;
    unsigned long nAfter = 0;
    unsigned char* pData = nullptr;
    if (XGetWindowProperty(pDisplay, source, A(kXdndTypeList), 0, 1024, False, XA_ATOM, &type,
                           &nFormat, &nItems, &nAfter, &pData) == Success &&
        pData != nullptr)
    {
        const auto* pAtoms = reinterpret_cast<const Atom*>(pData);
        types.assign(pAtoms, pAtoms + nItems);
    }
    if (pData != nullptr)
        XFree(pData);
    return types;
}

void CX11DropTarget::Impl::Enter(const XClientMessageEvent& event)
{
    End();
    source = static_cast<Window>(event.data.l[0]);
    over = event.window;
    const std::vector<Atom> types = OfferedTypes(event);
    const auto offers = [&](Atom atom)
    { return std::find(types.begin(), types.end(), atom) != types.end(); };
    const Atom text = offers(A(kUtf8String))      ? A(kUtf8String)
                      : offers(A(kTextPlainUtf8)) ? A(kTextPlainUtf8)
                                                  : None;
    pData = new CX11DragData(*pReader, A(kXdndSelection), offers(A(kUriList)) ? A(kUriList) : None,
                             text);
    pSession = std::make_unique<COleDragSession>(pData, DROPEFFECT_COPY | DROPEFFECT_MOVE |
                                                            DROPEFFECT_LINK);
}

void CX11DropTarget::Impl::Reply(enXdndAtom type, long nFlags, long nThird, long nFifth)
{
    SendXdndMessage(pDisplay, source, A(type), over, nFlags, nThird, 0, nFifth);
}

void CX11DropTarget::Impl::Position(const XClientMessageEvent& event)
{
    const POINT pt{static_cast<LONG>((event.data.l[2] >> 16) & 0xFFFF),
                   static_cast<LONG>(event.data.l[2] & 0xFFFF)};
    pData->SetTime(static_cast<Time>(event.data.l[3]));
    // The source's wish stands for the keys: a copy is Ctrl held.
    const auto action = static_cast<Atom>(event.data.l[4]);
    const DWORD keys = MK_LBUTTON | (action == A(kXdndActionCopy) ? MK_CONTROL : 0);
    ptLast = pt;
    dwKeysLast = keys;
    const DWORD dwEffect = pSession->Over(pt, keys) & ~DROPEFFECT_SCROLL;
    // Accepting or not, every move is wanted: the window under the pointer
    // may change anywhere.
    const long nFlags = (dwEffect != DROPEFFECT_NONE ? 1 : 0) | 2;
    Reply(kXdndStatus, nFlags, 0, dwEffect != DROPEFFECT_NONE ? long(atoms.ActionOf(dwEffect)) : 0);
}

void CX11DropTarget::Impl::Drop(const XClientMessageEvent& event)
{
    pData->SetTime(static_cast<Time>(event.data.l[2]));
    // The button went up where the pointer was last seen.
    const DWORD dwEffect = pSession->Drop(ptLast, dwKeysLast & ~MK_LBUTTON) & ~DROPEFFECT_SCROLL;
    Reply(kXdndFinished, dwEffect != DROPEFFECT_NONE ? 1 : 0,
          dwEffect != DROPEFFECT_NONE ? long(atoms.ActionOf(dwEffect)) : 0, 0);
    End();
}

void CX11DropTarget::Impl::End()
{
    pSession.reset();
    if (pData != nullptr)
        pData->Release();
    pData = nullptr;
    source = 0;
    over = 0;
}

CX11DropTarget::CX11DropTarget(Display* pDisplay) : m(std::make_unique<Impl>(pDisplay))
{
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    m->window = XCreateWindow(pDisplay, DefaultRootWindow(pDisplay), -1, -1, 1, 1, 0,
                              CopyFromParent, InputOnly, CopyFromParent, CWEventMask, &attributes);
    m->pReader = std::make_unique<CX11SelectionReader>(pDisplay, m->window);
}

CX11DropTarget::~CX11DropTarget()
{
    m->End();
    XDestroyWindow(m->pDisplay, m->window);
}

void CX11DropTarget::MarkWindow(Window xid)
{
    const long nVersion = kXdndVersion;
    XChangeProperty(m->pDisplay, xid, m->A(kXdndAware), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&nVersion), 1);
}

bool CX11DropTarget::HandleClientMessage(const XClientMessageEvent& event)
{
    const Atom type = event.message_type;
    if (event.format != 32)
        return false;
    if (type == m->A(kXdndEnter))
    {
        m->Enter(event);
        return true;
    }
    const bool bOfThisDrag = m->pSession != nullptr && event.window == m->over &&
                             static_cast<Window>(event.data.l[0]) == m->source;
    if (type == m->A(kXdndPosition))
    {
        if (bOfThisDrag)
            m->Position(event);
        return true;
    }
    if (type == m->A(kXdndLeave))
    {
        if (bOfThisDrag)
            m->End();
        return true;
    }
    if (type == m->A(kXdndDrop))
    {
        if (bOfThisDrag)
            m->Drop(event);
        return true;
    }
    return false;
}
