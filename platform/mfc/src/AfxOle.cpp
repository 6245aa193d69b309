#include "AfxOle.h"

#include "AfxWnd.h"
#include "OleDataStore.h"
#include "WinClipboard.h"
#include "WinCursor.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

namespace
{
FORMATETC FormatOf(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (lpFormatEtc != nullptr)
    {
        FORMATETC format = *lpFormatEtc;
        format.cfFormat = cfFormat;
        return format;
    }
    return FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The other buttons than the one that starts a drag give it up.
DWORD CancelButtonsOf(DWORD dwButton)
{
    return (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON) & ~dwButton;
}

DWORD ButtonDown()
{
    if (GetKeyState(VK_LBUTTON) & 0x8000)
        return MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) & 0x8000)
        return MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) & 0x8000)
        return MK_MBUTTON;
    return MK_LBUTTON;
}

// The source's decisions go to its virtual calls.
class CDropSourceBridge final : public IDropSource
{
public:
    explicit CDropSourceBridge(COleDropSource* pSource) : m_pSource(pSource) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != IID_IDropSource)
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IDropSource*>(this);
        return S_OK;
    }
    // Lives on the stack of the drag.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override
    {
        return m_pSource->QueryContinueDrag(fEscapePressed, grfKeyState);
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD dwEffect) override
    {
        return m_pSource->GiveFeedback(dwEffect);
    }

private:
    COleDropSource* m_pSource;
};
} // namespace

BOOL AfxOleInit()
{
    static const bool bStarted = SUCCEEDED(OleInitialize(nullptr));
    return bStarted ? TRUE : FALSE;
}

// ---------------------------------------------------------------- COleDataObject

COleDataObject::~COleDataObject()
{
    Release();
}

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT lpDataObject = m_lpDataObject;
    if (m_lpEnumerator != nullptr)
        m_lpEnumerator->Release();
    m_lpEnumerator = nullptr;
    m_lpDataObject = nullptr;
    return lpDataObject;
}

void COleDataObject::Release()
{
    const BOOL bAutoRelease = m_bAutoRelease;
    LPDATAOBJECT lpDataObject = Detach();
    if (lpDataObject != nullptr && bAutoRelease)
        lpDataObject->Release();
}

BOOL COleDataObject::AttachClipboard()
{
    LPDATAOBJECT lpDataObject = nullptr;
    if (FAILED(OleGetClipboard(&lpDataObject)))
        return FALSE;
    Attach(lpDataObject, TRUE);
    return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef)
{
    if (bAddRef && m_lpDataObject != nullptr)
        m_lpDataObject->AddRef();
    return m_lpDataObject;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    FORMATETC format = FormatOf(cfFormat, lpFormatEtc);
    return m_lpDataObject != nullptr && m_lpDataObject->QueryGetData(&format) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc)
{
    FORMATETC format = FormatOf(cfFormat, lpFormatEtc);
    return m_lpDataObject != nullptr && lpStgMedium != nullptr &&
           SUCCEEDED(m_lpDataObject->GetData(&format, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    STGMEDIUM medium{};
    if (!GetData(cfFormat, &medium, lpFormatEtc))
        return nullptr;
    if (medium.pUnkForRelease == nullptr)
        return medium.hGlobal;
    HGLOBAL hCopy = CopyGlobalBlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return hCopy;
}

void COleDataObject::BeginEnumFormats()
{
    if (m_lpEnumerator != nullptr)
        m_lpEnumerator->Release();
    m_lpEnumerator = nullptr;
    if (m_lpDataObject != nullptr)
        m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator);
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc)
{
    ULONG nFetched = 0;
    return m_lpEnumerator != nullptr && lpFormatEtc != nullptr &&
           m_lpEnumerator->Next(1, lpFormatEtc, &nFetched) == S_OK && nFetched == 1;
}

// ---------------------------------------------------------------- COleDropSource

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    if (bEscapePressed || (dwKeyState & m_dwButtonCancel) != 0)
        return DRAGDROP_S_CANCEL;
    if ((dwKeyState & m_dwButtonDrop) == 0)
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd)
{
    if (m_rectStartDrag.IsRectEmpty())
        return TRUE;
    HWND hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    if (hWnd == nullptr)
        return FALSE;
    SetCapture(hWnd);
    BOOL bStart = FALSE;
    MSG msg{};
    while (GetCapture() == hWnd && GetMessageA(&msg, nullptr, 0, 0))
    {
        if (msg.message == WM_MOUSEMOVE && !m_rectStartDrag.PtInRect(msg.pt))
        {
            bStart = TRUE;
            break;
        }
        if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_LBUTTONUP ||
            msg.message == WM_RBUTTONUP || msg.message == WM_MBUTTONUP)
            break;
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            continue;
        DispatchMessageA(&msg);
    }
    if (msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
    if (!bStart && GetCapture() == hWnd)
        ReleaseCapture();
    return bStart;
}

// ---------------------------------------------------------------- COleDataSource

COleDataSource::COleDataSource() : m_pStore(COleDataStore::Create()) {}

COleDataSource::~COleDataSource()
{
    m_pStore->Release();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC)
{
    m_pStore->SetGlobal(cfFormat, hGlobal);
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium,
                               LPFORMATETC lpFormatEtc)
{
    FORMATETC format = FormatOf(cfFormat, lpFormatEtc);
    m_pStore->SetData(&format, lpStgMedium, TRUE);
}

void COleDataSource::Empty()
{
    m_pStore->Empty();
}

LPDATAOBJECT COleDataSource::GetDataObject() const
{
    return m_pStore;
}

void COleDataSource::SetClipboard()
{
    // Every format is rendered at once, so nothing of this object is needed
    // once the clipboard has it.
    OleSetClipboard(m_pStore);
    delete this;
}

void COleDataSource::FlushClipboard()
{
    OleFlushClipboard();
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag,
                                      COleDropSource* pDropSource)
{
    COleDropSource defaultSource;
    COleDropSource* pSource = pDropSource != nullptr ? pDropSource : &defaultSource;
    pSource->m_dwButtonDrop = ButtonDown();
    pSource->m_dwButtonCancel = CancelButtonsOf(pSource->m_dwButtonDrop);
    if (lpRectStartDrag != nullptr)
        pSource->m_rectStartDrag = *lpRectStartDrag;
    else
        pSource->m_rectStartDrag.SetRectEmpty();
    // The window the drag starts from: the one holding the mouse, else the
    // one under the pointer.
    HWND hFrom = GetCapture();
    if (hFrom == nullptr)
    {
        POINT pt{};
        GetCursorPos(&pt);
        hFrom = WindowFromPoint(pt);
    }
    if (!pSource->OnBeginDrag(CWnd::FromHandle(hFrom)))
        return DROPEFFECT_NONE;
    CDropSourceBridge bridge(pSource);
    DWORD dwEffect = DROPEFFECT_NONE;
    if (::DoDragDrop(m_pStore, &bridge, dwEffects, &dwEffect) != DRAGDROP_S_DROP)
        return DROPEFFECT_NONE;
    return dwEffect;
}

// ---------------------------------------------------------------- COleDropTarget

// The OLE face of a drop target: screen points become client points of its
// window and the data object is handed on in a COleDataObject.
class COleDropTarget::XDropTarget final : public IDropTarget
{
public:
    explicit XDropTarget(COleDropTarget* pOwner) : m_pOwner(pOwner) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != IID_IDropTarget)
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    // Owned by its COleDropTarget, which revokes the registration first.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                        DWORD* pdwEffect) override
    {
        m_dataObject.Attach(pDataObj, FALSE);
        CWnd* pWnd = Window();
        const CPoint point = ClientPoint(pt);
        DROPEFFECT effect = m_pOwner->OnDragScroll(pWnd, grfKeyState, point);
        if ((effect & DROPEFFECT_SCROLL) == 0)
            effect = m_pOwner->OnDragEnter(pWnd, &m_dataObject, grfKeyState, point);
        *pdwEffect = Filter(effect, *pdwEffect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override
    {
        *pdwEffect = Filter(Over(grfKeyState, pt), *pdwEffect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        m_pOwner->OnDragLeave(Window());
        m_dataObject.Release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                   DWORD* pdwEffect) override
    {
        m_dataObject.Attach(pDataObj, FALSE);
        CWnd* pWnd = Window();
        const CPoint point = ClientPoint(pt);
        const DWORD dwAllowed = *pdwEffect;
        const DROPEFFECT dropDefault = Filter(Over(grfKeyState, pt), dwAllowed);
        DROPEFFECT effect = m_pOwner->OnDropEx(pWnd, &m_dataObject, dropDefault, dwAllowed, point);
        if (effect == static_cast<DROPEFFECT>(-1))
        {
            effect = dropDefault;
            if (effect != DROPEFFECT_NONE && !m_pOwner->OnDrop(pWnd, &m_dataObject, effect, point))
                effect = DROPEFFECT_NONE;
        }
        m_dataObject.Release();
        *pdwEffect = effect;
        return S_OK;
    }

private:
    CWnd* Window() const { return CWnd::FromHandle(m_pOwner->m_hWnd); }
    CPoint ClientPoint(POINTL pt) const
    {
        POINT point{pt.x, pt.y};
        ScreenToClient(m_pOwner->m_hWnd, &point);
        return CPoint(point);
    }
    DROPEFFECT Over(DWORD grfKeyState, POINTL pt)
    {
        CWnd* pWnd = Window();
        const CPoint point = ClientPoint(pt);
        const DROPEFFECT effect = m_pOwner->OnDragScroll(pWnd, grfKeyState, point);
        if ((effect & DROPEFFECT_SCROLL) != 0)
            return effect;
        return m_pOwner->OnDragOver(pWnd, &m_dataObject, grfKeyState, point);
    }
    // An effect the source does not allow becomes one it does: a move
    // falls back to a copy, anything else to nothing.
    static DROPEFFECT Filter(DROPEFFECT effect, DWORD dwAllowed)
    {
        const DROPEFFECT scroll = effect & DROPEFFECT_SCROLL;
        effect &= ~DROPEFFECT_SCROLL;
        if ((effect & dwAllowed) == effect)
            return effect | scroll;
        if (effect == DROPEFFECT_MOVE && (dwAllowed & DROPEFFECT_COPY) != 0)
            return DROPEFFECT_COPY | scroll;
        return DROPEFFECT_NONE | scroll;
    }

    COleDropTarget* m_pOwner;
    COleDataObject m_dataObject;
};

COleDropTarget::COleDropTarget() : m_pXDropTarget(new XDropTarget(this)) {}

COleDropTarget::~COleDropTarget()
{
    if (m_hWnd != nullptr)
        RevokeDragDrop(m_hWnd);
    delete m_pXDropTarget;
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    if (FAILED(RegisterDragDrop(pWnd->m_hWnd, m_pXDropTarget)))
        return FALSE;
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd == nullptr)
        return;
    RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint)
{
    return FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint)
{
    return static_cast<DROPEFFECT>(-1);
}

void COleDropTarget::OnDragLeave(CWnd*) {}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}
