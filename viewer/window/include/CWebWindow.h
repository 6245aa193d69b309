// CWebWindow: the viewer window a host embeds. It holds a grid of image
// views (WebImageView cells of a CImageViewSplitter), hands each image the
// host opens to every visible view, keeps the grid's visible size, tells
// its parent when the hot image changes, and runs the host's operations on
// the hot image, the hot view or every visible view.
//
// The hot view is the splitter's active view, the hot pane that view's
// highlighted pane, and the hot image the image that pane shows. Where an
// operation speaks of a view's series without naming one, the view's
// current series is meant (GetSeriesOf): that is the series on screen, the
// one whose images the hot pane shows.
#pragma once

#include "Array.h"
#include "Corvane.h"
#include "Delegate.h"
#include "Lettra.h"
#include "QuillonExport.h"

#include "AfxFrame.h"

#include <functional>

class CImageView;
class CImageViewSplitter;
class DICOMFile;
class ImageShow;
class MedImage;
class SeriesShow;

class QUILLON_API CWebWindow : public CView
{
    DECLARE_DYNCREATE(CWebWindow)

public:
    // Messages the window takes from its host and sends itself.
    static constexpr UINT WmShowSeriesAt = WM_USER + 4;
    static constexpr UINT WmSetNextSeriesLayoutString = WM_USER + 16;
    static constexpr UINT WmSetViewLayout = WM_USER + 60;
    static constexpr UINT WmOpenCorvane = WM_USER + 201;
    static constexpr UINT WmSetPromptText = 0x179F;
    // Posted to the parent when the hot image changes: wParam the hot
    // view's index, lParam the hot image's index.
    static constexpr UINT WmHotImageChanged = WM_USER + 61;
    // Commands.
    static constexpr UINT CmdClearScreen = 50;
    static constexpr UINT CmdRefreshReferenceLine = 51;
    static constexpr UINT CmdDumpDicomFile = 1005;
    static constexpr UINT CmdDumpDicomFileToo = 2220;
    // Sent by a view when cine over it ended.
    static constexpr UINT CmdCineEnded = 2260;
    static constexpr UINT CmdBlowUp = 1146;
    static constexpr UINT CmdBlowRestore = 1147;
    // Open modes of MsgOpenCorvane.
    enum enOpenMode
    {
        enOpenOrReloadByImage = 0,
        enOpenOrReloadBySeries = 1,
        enOpenOrReloadByStudy = 2,
        enOpenByImage = 100,
        enOpenBySeries = 101,
        enOpenByStudy = 102
    };
    // What the guarded layout messages answer while images are on screen.
    static constexpr LRESULT LayoutRefused = 2;
    static constexpr const char* WindowText = "QuillonWindow";
    static constexpr const char* DefaultSeriesLayout = "STANDARD\\1,1";
    static constexpr int DefaultFontPoints = 16;
    static constexpr int CellGap = 2;

    CWebWindow();
    ~CWebWindow() override;

    // Creation and life cycle.
    bool Prepare();
    bool Close();
    bool SystemExit();
    void CreateFontOfHeight(int points);
    CFont* GetFont() const { return m_pFont; }
    void RecalcLayout();
    bool SetConfigXML(short type, const char* xml);

    // The grid.
    bool CreateView(int rows, int columns);
    bool SetViewLayout(int rows, int columns);
    bool DoSetViewLayout(int rows, int columns, bool copy);
    bool RecalcViewLayout(int rows, int columns);
    bool GetViewLayout(int& rows, int& columns) const;
    int GetNbOfView() const { return m_nRows * m_nColumns; }
    CImageViewSplitter* GetSplitter() const { return m_pSplitter; }
    CView* GetActiveView() const;
    void SetActiveView(CView* view);
    CImageView* GetHotView();
    const CImageView* GetHotView() const;
    MedImage* GetHotImage();
    const MedImage* GetHotImage() const;
    CWnd* GetHotImageWindow();
    // The image the hot pane shows; null without one.
    ImageShow* GetHotImageShow() const;
    bool IsHotImageEmpty() const;
    CView* GetViewAt(int row, int column) const;
    CView* GetViewAt(int index);
    bool ActiveView(int index);
    int IndexOfHotView() const;
    int IndexOfHotImage() const;
    void GetAllView(Array<CImageView*>& views) const;
    void GetAllVisibleView(Array<CImageView*>& views) const;
    bool ReleaseUnvisibleView();
    void CloseAllView();
    void ClearScreen();
    void CloseHotView();
    void CloseHotSeries();
    void CloseHotImage();
    void AttachViewEvent();
    void DetachViewEvent();
    void CancelTransaction(int transaction);
    // True once a transaction was cancelled; until then no handle is
    // dropped.
    bool HasCancelledTransaction() const { return m_bTransactionCancelled; }
    int GetCancelledTransaction() const { return m_nCancelledTransaction; }
    LRESULT OnOpenCorvane(WPARAM mode, LPARAM holder);

    // The series of a view that the window's operations mean: its current
    // series; null for a null view or one without series.
    static SeriesShow* GetSeriesOf(const CImageView* view);
    // True when a pane of the view shows an image.
    static bool IsShowingImage(const CImageView* view);

    // Messages sent to the window itself.
    void MsgShowSeriesAt(int index);
    bool MsgSetViewLayout(int rows, int columns);
    bool MsgSetNextSeriesLayoutString(const char* format);

    // Operations on the hot view.
    double GetZoomFactor();
    bool SetZoomFactor(double zoom);
    bool AutoWindowLevel();
    void ClearHotImageAnnotation();
    void RestoreHotImage();
    Lettra GetAllLUTDescription();
    Lettra GetOriginalLUTDescription();
    bool SelectLUT(int index);
    bool SetWindowLevel(int width, int center);
    bool GetWindowLevel(int& width, int& center);
    void SetScope(int scope);
    int GetScope();
    void ClearAllImageAnnotation();
    void FlipHorizontal();
    void FlipVertical();
    void Rotate(int direction);
    void Invert();
    CString GetHotImageFileName();
    CString GetHotImageDicomFileInfoXML();
    CString GetHotImageDicomValue(unsigned short group, unsigned short element);
    CString GetDicomFileNameAt(int index);
    CString GetDicomFileInfoXMLAt(int index);
    CString GetDicomValueAt(int index, unsigned short group, unsigned short element);
    int GetDicomFileAt(int index, DICOMFile* file);
    void ShowNextSeries();
    void ShowPrevSeries();
    bool DoShowSeriesAt(int index);
    bool PageDown();
    bool PageUp();
    bool FirstPage();
    bool LastPage();
    bool LineUp();
    bool LineDown();
    bool ImageUp();
    bool ImageDown();
    void RestoreHotView();
    void RestoreAllView() { RestoreHotView(); }
    void SwapLayout();
    void CopyHotImage();
    int GetNbOfSeries();
    int IndexOfHotSeries();
    int GetNbOfImage();
    bool SetImageLayout(int first, int second);
    bool GetImageLayout(int& first, int& second);
    CString GetImageLayoutString();
    int SendMessageToHotView(UINT message, WPARAM wParam, LPARAM lParam);
    int PostMessageToHotView(UINT message, WPARAM wParam, LPARAM lParam);

    // Operations on the hot image.
    void ZoomIn();
    void ZoomOut();
    void ZoomFitInWindow();
    void ZoomPixelByPixel();
    void CopyHotImageToClipboard();
    bool SaveHotImageAsDicomFile(const char* path);
    bool SaveHotImageAsBitmap(const char* path);
    bool SaveHotImageAsJPEG(const char* path);
    int SendMessageToHotImage(UINT message, WPARAM wParam, LPARAM lParam);
    int PostMessageToHotImage(UINT message, WPARAM wParam, LPARAM lParam);

    // Operations on every visible view.
    bool SetLeftButton(int tool);
    bool SetRightButton(int tool);
    // The first visible view's tools; -1 without a visible view.
    int GetLeftButton();
    int GetRightButton();
    void ShowLabels(bool show);
    void ShowOverlays(bool show);
    void ShowRuler(bool show);
    int SendMessageToAllView(UINT message, WPARAM wParam, LPARAM lParam);
    int PostMessageToAllView(UINT message, WPARAM wParam, LPARAM lParam);
    int SendMessageToAllImage(UINT message, WPARAM wParam, LPARAM lParam);
    int PostMessageToAllImage(UINT message, WPARAM wParam, LPARAM lParam);
    bool DoSetNextSeriesLayoutString(const char* format);
    bool DoSetSeriesLayoutString(const char* format);
    bool SetSeriesLayout(int first, int second);

    // Reference lines of the hot image on the other visible views.
    void ShowReferenceLineOnHotImage();
    void RefreshReferenceLine();
    void OnRefreshReferenceLine() { RefreshReferenceLine(); }
    void OnCmdBlowRestore();

    // Handlers hung on the views.
    void OnViewActivated(const void* sender, DelegateArgs* args);
    void OnEventHotImageSelChanged(const void* sender, DelegateArgs* args);

    // The host's prompt text, shown as an extra label by every web pane.
    static const Lettra& GetPromptText();

protected:
    bool SystemInit();
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnShowSeriesAt(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetNextSeriesLayoutString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetViewLayout(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenCorvaneMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetPromptText(WPARAM wParam, LPARAM lParam);
    void OnClearScreen();
    // The DICOM dump of the hot image's displayed form, as a modal dialog.
    void OnDumpDicomFile();
    void OnCmdBlowUp();
    void OnCineEnded();

    DECLARE_MESSAGE_MAP()

private:
    // The cell's name: "0.view.<row>.<column>".
    static CString CellName(int row, int column);
    // The visible views when no view shows an image; otherwise the log
    // line of the refusal and false.
    bool IsScreenEmpty(const char* refusal);
    // After a re-layout the hot view highlights a pane and announces its
    // image, so that the parent learns the hot image.
    void AnnounceHotImage();
    // The view of cell (0, 0) lays itself out anew; its series layout.
    CString RelayoutFirstCell(CImageView* first);
    void CopyFirstCellToOthers(CImageView* first, const CString& layout);
    void RestoreHotViewAfterLayout(CImageView* hot, int series, int image);
    // After closing content of the hot view, the first view still showing
    // an image becomes active when the hot view shows none.
    void ActivateViewShowingImage();
    void LogMemoryStatus();
    void ForVisibleViews(const std::function<void(CImageView*)>& operation);

    bool m_bTransactionCancelled = false;
    int m_nCancelledTransaction = -1;
    CFont* m_pFont = nullptr;
    CImageViewSplitter* m_pSplitter = nullptr;
    int m_nRows = 0;
    int m_nColumns = 0;
};
