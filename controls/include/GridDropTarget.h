// The drop target of one grid: passes the drag calls that concern its grid
// on to the grid's own drop handlers.
#pragma once

#include "AfxOle.h"
#include "ZentiqExport.h"

class CGridCtrl;

class ZENTIQ_API CGridDropTarget : public COleDropTarget
{
public:
    // FALSE when registered already, or without a grid window.
    BOOL Register(CGridCtrl* pGridCtrl);
    void Revoke() override;

    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                           CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                CPoint point) override;

private:
    BOOL IsForGrid(const CWnd* pWnd) const;

    CGridCtrl* m_pGridCtrl = nullptr;
    BOOL m_bRegistered = FALSE;
};
