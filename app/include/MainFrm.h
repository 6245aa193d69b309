// CMainFrame: the program's main window. It owns the menu, the toolbar and
// the status bar, turns every menu and toolbar command into a call on the
// viewer window it hosts as its active view, keeps the commands enabled and
// checked as the view's state allows at each idle update, loads and saves
// files, plays cine in a loop of its own, and holds the DICOMDIR browser,
// whose chosen images it imports. It refuses to close while cine plays or
// an import runs.
#pragma once

#include "AfxBars.h"
#include "AfxFrame.h"
#include "DICOMDIRView.h"
#include "DicomDirImport.h"
#include "ViewerWindow.h"

#include <memory>

class CMainFrame : public CFrameWnd, public IDicomDirImportTarget
{
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame();
    ~CMainFrame() override;

    // The cine interval at each start, in milliseconds.
    static constexpr double DefaultCineInterval = 200.0;

    // Null without an active view that is a viewer window.
    IViewerWindow* GetViewer() const;
    // A view inside the viewer window (an image view that a click on one of
    // its panes activates) makes the viewer window active instead: the
    // frame's view stays the one that takes its commands and files.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE) override;

    // Loading (Open File batches and imports) and playing gate the commands.
    void SetLoading(bool bLoading) override;
    bool IsLoading() const { return m_bLoading; }
    bool IsPlaying() const { return m_bPlaying; }
    double GetCineInterval() const { return m_dCineInterval; }
    ICinePlayer* GetCinePlayer() const { return m_pCine.get(); }

    // 1 when the file was handed to the view, 0 without a view.
    int LoadOneFile(const char* pszPath);
    // Labels, overlays and ruler on when the view holds an image.
    void ShowDisplayLayers();
    void OpenDicomDirBrowser(const char* pszPath);
    CDICOMDIRView& GetDicomDirBrowser() { return m_dicomDir; }
    bool IsImporting() const { return m_import.IsImporting(); }

    // The position of the first item with exactly that text, else -1.
    static int FindMenuPopup(CMenu* pMenu, const char* pszCaption);
    // Items 110 on of the WW/WL popup from the view's lookup tables.
    void RebuildLutMenu();
    void UpdateWindowTitle();

    CToolBar& GetToolBar() { return m_wndToolBar; }
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }

    // IDicomDirImportTarget.
    HWND GetFrameWindow() const override { return m_hWnd; }
    HWND GetActiveViewWindow() const override;
    void ClearScreen() override;
    void SetViewLayout(int nRows, int nColumns) override;
    void SetSeriesLayout(int nRows, int nColumns) override;
    void FinishImport() override;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();

    // Files (loading and saving).
    afx_msg void OnFileOpen();
    afx_msg void OnFileSaveAs();
    afx_msg void OnOpenDicomDir();
    afx_msg LRESULT OnDicomDirSelection(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnImportProgress(WPARAM wParam, LPARAM lParam);

    // Commands on the view.
    afx_msg void OnCopyToClipboard();
    afx_msg void OnCopyToView();
    afx_msg void OnCloseImage();
    afx_msg void OnCloseView();
    afx_msg void OnDisplayLayer(UINT nID);
    afx_msg void OnClearAnnotation();
    afx_msg void OnLayout(UINT nID);
    afx_msg void OnViewLayout(UINT nID);
    afx_msg void OnPaging(UINT nID);
    afx_msg void OnScope(UINT nID);
    afx_msg void OnOrientation(UINT nID);
    afx_msg void OnZoom(UINT nID);
    afx_msg void OnRestore();
    afx_msg void OnTool(UINT nID);
    afx_msg void OnAutoWindowLevel();
    afx_msg void OnPreset(UINT nID);
    afx_msg void OnSelectLut(UINT nID);

    // Cine.
    afx_msg void OnCineOn();
    afx_msg void OnCineOff();
    afx_msg void OnCineSpeed(UINT nID);

    // Update rules.
    afx_msg void OnUpdateOpen(CCmdUI* pCmdUI);
    afx_msg void OnUpdateImageRule(CCmdUI* pCmdUI);
    afx_msg void OnUpdateCountRule(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNotPlaying(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePlaying(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLayout(CCmdUI* pCmdUI);
    afx_msg void OnUpdateViewLayout(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLineDown(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLineUp(CCmdUI* pCmdUI);
    afx_msg void OnUpdateImageDown(CCmdUI* pCmdUI);
    afx_msg void OnUpdateImageUp(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTool(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAutoWindowLevel(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePreset(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI);
    afx_msg void OnUpdateScopePane(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTotalPane(CCmdUI* pCmdUI);
    afx_msg void OnUpdateCurrentPane(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    bool IsImageRule() const;
    bool IsCountRule() const;
    // The hot image's row and the row count of the image layout, from 1;
    // false without a hot image or columns.
    bool GetHotImageRow(int& nRow, int& nRows) const;

    // Check marks set straight after a command.
    void MarkLayout(int nFirst, int nSecond);
    void MarkScope(int nScope);
    void MarkTwoItemPopup(const char* pszTopCaption, const char* pszCaption, bool bFirst);
    void MarkTool(bool bLeft, int nTool);
    void SetTools(int nLeft, int nRight);
    CMenu* FindSubPopup(const char* pszTopCaption, const char* pszCaption);
    void RefreshBars();

    void CineLoop();
    void RestoreCineTools();

    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
    CDICOMDIRView m_dicomDir;
    CDicomDirImport m_import;
    int m_nSavedLeftTool = 0;
    int m_nSavedRightTool = 0;
    bool m_bLoading = false;
    std::unique_ptr<ICinePlayer> m_pCine;
    double m_dCineInterval = DefaultCineInterval;
    bool m_bPlaying = false;
};
