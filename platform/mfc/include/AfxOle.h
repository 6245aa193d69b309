// The MFC side of OLE data transfer: a data source that caches global
// blocks and offers them to a drag or the clipboard, a data object that
// reads what a drop or the clipboard brings, and a drop target that turns
// the drag calls of a registered window into virtual calls with client
// points.
#pragma once

#include "AfxCmdTarget.h"
#include "PlatformUIExport.h"
#include "WinGeometry.h"
#include "WinOle.h"

class CWnd;
class COleDataStore;

using DROPEFFECT = DWORD;

// Starts OLE for the thread once; it stays started. TRUE when it could be.
PLATFORMUI_API BOOL AfxOleInit();

class PLATFORMUI_API COleDataObject
{
public:
    COleDataObject() = default;
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // With bAutoRelease the object gives the reference up at Release or its
    // end.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // Attaches what the clipboard holds now.
    BOOL AttachClipboard();
    LPDATAOBJECT GetIDataObject(BOOL bAddRef);

    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // A block of the caller's own, NULL when the format is not there.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    void BeginEnumFormats();
    BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

private:
    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
    IEnumFORMATETC* m_lpEnumerator = nullptr;
};

// What decides, during a drag, when it drops or is given up.
class PLATFORMUI_API COleDropSource : public CCmdTarget
{
public:
    COleDropSource() = default;

    // Escape or the other mouse button gives up; releasing the button
    // that started the drag drops.
    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // Waits with the mouse captured until the pointer leaves the start
    // rectangle (TRUE) or the button goes up or Escape comes (FALSE). An
    // empty rectangle starts at once.
    virtual BOOL OnBeginDrag(CWnd* pWnd);

    CRect m_rectStartDrag;
    DWORD m_dwButtonDrop = MK_LBUTTON;
    DWORD m_dwButtonCancel = MK_RBUTTON;
};

class PLATFORMUI_API COleDataSource : public CCmdTarget
{
public:
    COleDataSource();
    ~COleDataSource() override;

    // Takes the block over, replacing one cached for the format.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    void Empty();

    // Puts the cached data on the clipboard; the clipboard then owns this
    // object, which the caller no longer uses (it is gone after the call).
    void SetClipboard();
    static void FlushClipboard();

    // Runs the drag (after the pointer leaves the start rectangle, when one
    // is given) and answers the effect carried out; DROPEFFECT_NONE when
    // the drag never started or was given up.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

    LPDATAOBJECT GetDataObject() const;

private:
    COleDataStore* m_pStore;
};

class PLATFORMUI_API COleDropTarget : public CCmdTarget
{
public:
    COleDropTarget();
    ~COleDropTarget() override;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // Registers the window for drops; FALSE when it has no handle, is
    // registered already or OLE has not been started.
    BOOL Register(CWnd* pWnd);
    virtual void Revoke();

    // Points are in the window's client coordinates. The defaults take
    // nothing.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                   CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                  CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                        CPoint point);
    // (DROPEFFECT)-1 (the default) lets OnDrop decide.
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    // Asked before enter and over: an answer with DROPEFFECT_SCROLL stands
    // instead of theirs.
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    HWND m_hWnd = nullptr;

private:
    class XDropTarget;
    XDropTarget* m_pXDropTarget;
};
