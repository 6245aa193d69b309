// CImageView: one cell of the viewer window's grid. It shows the current
// series of its ImageLayout page by page on the panes its PaneLayout base
// cuts from a format string, keeps its vertical scroll bar in step with the
// page, opens images handed over as Corvane handles, and runs the image
// operations the viewer window forwards to it.
//
// The view names one pane hot (the highlighted one); its image is the hot
// image, and operations that name no image act on it, or on the images the
// view's scope selects. The view announces what happens through its events,
// each fired with the view as sender.
//
// Each pane (MedImage) shows the image of its position on the page, except
// that the hot pane may step through the series on its own (the wheel, the
// page-scroll drag) until the page moves again. The panes carry the view's
// mouse tools; with scope 1 or 10 a window, pan or zoom ended on one pane is
// handed to the others and to the images of the series.
//
// Keys and wheel turns the panes pass on are published as the view's own
// events and handled by handlers the view hangs on them, so a subscriber
// outside sees the same; the keys the view does not take go on to its
// viewer window (Ctrl+Page Up and Down among them: series navigation is the
// window's).
#pragma once

#include "Corvane.h"
#include "Delegate.h"
#include "ImageLayout.h"
#include "ImageViewArgs.h"
#include "Lettra.h"
#include "PaneLayout.h"
#include "QuillonExport.h"

#include <cstdint>
#include <vector>

class CMenuCH;
class DICOMFile;
class ImageShow;
class MedImage;

class QUILLON_API CImageView : public PaneLayout
{
    DECLARE_DYNCREATE(CImageView)

public:
    // The format of a new view, and the format a pane is blown up to.
    static constexpr const char* DefaultLayout = "STANDARD\\2,1";
    static constexpr const char* SingleLayout = "STANDARD\\1,1";
    static constexpr int DefaultLeftTool = 4;
    static constexpr int DefaultRightTool = 1;
    // Commands the view sends its viewer window.
    static constexpr UINT CmdRefLines = 51;
    static constexpr UINT CmdBlownUp = 1146;
    static constexpr UINT CmdRestored = 1147;
    // Commands it handles.
    static constexpr UINT CmdSortByImageNo = 4921;
    static constexpr UINT CmdSortNothing = 4922;
    static constexpr UINT CmdSortByAcquisitionNo = 4923;
    static constexpr UINT CmdSortBySliceLocation = 4924;
    static constexpr UINT CmdReverseOrder = 4930;
    static constexpr UINT CmdFirstSeries = 6000;
    static constexpr UINT CmdLastSeries = 6999;
    // A pane's request for its popup menu, naming what is under the cursor.
    static constexpr UINT CmdFirstPopup = 9500;
    static constexpr UINT CmdLastPopup = 9600;
    // More series than this go into a submenu of their own.
    static constexpr int MaxSeriesInPopup = 8;
    // Where the resource XML keeps the popup menus.
    static constexpr const char* PopupMenuPath = "/AppSetting/PopupMenu/";
    static constexpr const char* PopupPropertyPath = "/AppSetting/PopupMenu/Property/";
    static constexpr UINT CmdFirstLeftTool = 1800;
    static constexpr UINT CmdLastLeftTool = 1999;
    static constexpr UINT CmdFirstRightTool = 2000;
    static constexpr UINT CmdLastRightTool = 2199;
    // The left tool chosen by command is echoed to the viewer window this
    // much lower.
    static constexpr UINT LeftToolEchoOffset = 400;
    // The wheel timer: after the last plain wheel turn the view tells that
    // the hot pane's scrolling ended.
    static constexpr UINT_PTR WheelTimerId = 1000;
    static constexpr UINT WheelTimerPeriod = 400;
    // Pasted annotations land this far right and down of the copied ones.
    static constexpr int PasteOffset = 64;
    // The smallest zoom the wheel gives.
    static constexpr double MinWheelZoom = 0.01;
    // A request to page to an image (wParam the pane, lParam the image).
    static constexpr UINT MsgPageToImage = WM_USER + 200;
    // The host's request to take a saved file (wParam 3, lParam the path).
    static constexpr UINT MsgSaveToHost = WM_USER + 100;
    static constexpr WPARAM SaveToHostKind = 3;
    // The scroll range while the series fits the page: the thumb fills it.
    static constexpr int FullRangeMax = 10000;
    static constexpr int FullRangePage = 9999;
    // The bit of an image's state word that sends a saved image to the
    // host instead of over the image's own file; images without a file
    // carry it from the moment they are added.
    static constexpr std::uint32_t SaveToHostState = 0x4000;

    CImageView();
    ~CImageView() override;

    // Virtual operations, in the order the view adds them.
    virtual void SetScope(int scope);
    virtual void TrimLoadedHolder(ImageShow* show);
    virtual void ShowVertScrollBar(bool show);
    virtual ImageShow* CreateImageShow(Corvane* holder);
    virtual bool ApplyLayout(const char* format);
    virtual void ReleaseView();
    virtual void ReleaseAll();
    virtual void RebuildPanes();
    virtual void ShowHighLight(bool show, bool notify);
    virtual void Refresh();
    virtual void SetLeftButton(int tool);
    virtual void SetRightButton(int tool);
    virtual void CopySeriesTo(CImageView* target);
    virtual void CopySeriesAtTo(int index, CImageView* target);
    virtual void CopyHotImageTo(CImageView* target);
    virtual int SaveShowToLocalDB(ImageShow* show);
    virtual bool RunCommand(WPARAM wParam, LPARAM lParam);
    virtual void DoDestroy();

    BOOL DestroyWindow() override;
    void SetHighLight(int index) override;
    void ShowHighLight(bool show) override { ShowHighLight(show, false); }

    // Opening (the mode of each in the viewer window's open message: 102,
    // 101, 100, 2, 1, 0). True when the image was added as a new image,
    // false when it was there already (skipped or reloaded in place).
    bool OpenCorvaneByStudy(Corvane* holder);
    bool OpenCorvaneBySeries(Corvane* holder);
    bool OpenCorvaneByImage(Corvane* holder);
    bool OpenOrReloadCorvaneByStudy(Corvane* holder);
    bool OpenOrReloadCorvaneBySeries(Corvane* holder);
    bool OpenOrReloadCorvaneByImage(Corvane* holder);
    void AddImageFromHolder(Corvane* holder, int seriesIndex);
    void InsertImageShow(ImageShow* show, int seriesIndex);
    // Redraws the pane that shows the image.
    void UpdateShownImage(ImageShow* show);

    // Layouts and series.
    // False, with nothing changed, for a format that lays out no panes.
    bool SetLayout(const char* format);
    bool SetSeriesLayout(const char* format);
    bool ApplySeriesLayout(const char* format);
    void SetNextSeriesLayoutString(const char* format);
    const Lettra& GetNextSeriesLayoutString() const { return m_strViewLayout; }
    void SwapLayout();
    void NextLayout();
    void PrevLayout();
    bool GotoLayoutAt(int index);
    void ShowNextSeries();
    void ShowPrevSeries();
    void ShowSeriesAt(int index);
    void RefreshCurrentLayout();
    int IndexOfHotSeries() const { return m_Layout.IndexOfHotSeries(); }

    // Keyboard, wheel and the annotation clipboard.
    void CopyAnnotations();
    void CutAnnotations();
    void PasteAnnotations();
    void Undo();
    // Wheel zoom of the pane under the cursor, keeping the image point
    // under the cursor where it is.
    void ZoomAtCursor(int delta);
    // The zoom one wheel step gives: a factor by the current zoom, cut down
    // to a whole percent, never below MinWheelZoom.
    static double NextWheelZoom(double zoom, int delta);
    // Steps the hot pane through the current series; the page stays.
    void ScrollHotImage(int step, bool wrap);
    // A double click swaps between the page and the blown-up pane.
    void EnableDblClk(bool enable);
    const ImageShow* GetAnnotationClipboard() const { return m_pClipboard; }

    // Paging of the current series.
    void FirstPage();
    void LastPage();
    void PageUp();
    void PageDown();
    void LineUp();
    void LineDown();
    void StepPage(int step, bool refresh);
    void PageToImage(int pane, ImageShow* show);
    void ShowImagesFrom(int position, bool refresh);
    int GetFirstShownIndex() const;
    int GetShownCount() const { return m_Layout.GetNbOfShown(); }

    bool LayOutEverySeries(const char* format);

    // The scroll bar, in pages.
    void UpdateScrollRange(int count, bool relayout);
    void ResetScrollBar(int first, int count, bool relayout);
    bool IsVertScrollBarShown() const { return m_bScrollBar; }

    // Closing and deleting.
    void OnCmdScrollCloseSeries();
    void DeleteItem(ImageShow* show);
    void CloseHotImage();

    // Hot pane and scope.
    int GetScope() const { return m_nScope; }
    int GetLeftButton() const { return m_nLeftTool; }
    int GetRightButton() const { return m_nRightTool; }
    // The middle-button tool that goes with a left-button tool.
    static int MiddleToolFor(int leftTool);
    int GetMiddleButton() const { return MiddleToolFor(m_nLeftTool); }
    // -1 without a hot pane.
    int GetHotPane() const { return m_nHotPane; }
    // The hot pane's window, null without a hot pane.
    MedImage* GetHotPaneWindow() const { return GetPane(m_nHotPane); }
    ImageShow* GetHotImage() const { return GetPaneImage(m_nHotPane); }
    // The image a pane shows, null for an empty pane.
    ImageShow* GetPaneImage(int pane) const;
    void SelectImage(ImageShow* show);

    // Image operations by scope.
    void FlipHorizontal();
    void FlipVertical();
    void Invert();
    void OnCmdRotate90();
    void OnCmdRotate180();
    void OnCmdRotate270();
    void SetWindowLevel(int width, int center);
    void GetWindowLevel(int* width, int* center) const;
    // The hot pane's zoom (1.0 = 100 %); -1.0 without a hot pane.
    void SetZoomFactor(double zoom);
    double GetZoomFactor() const;
    void AutoWindowLevel();
    Lettra GetAllLUTDescription() const;
    Lettra GetOriginalLUTDescription() const;
    bool SelectLUT(int index);
    void HideLabels();
    void ShowLabels();
    void ShowOverlays(bool show);
    void ShowRuler(bool show);
    bool IsLabelsShown() const { return m_bLabels; }
    bool IsOverlaysShown() const { return m_bOverlays; }
    void ClearHotImageAnnotation();
    void ClearAllImageAnnotation();
    void RestoreHotImage();
    void RestoreAllImage();
    void CopyHotImage();
    // The displayed image of the hot pane on the clipboard.
    void CopyHotPaneImage();
    void ImageUp();
    void ImageDown();

    // Queries.
    Lettra GetHotImageFileName() const;
    Lettra GetHotImageDicomFileInfoXML();
    Lettra GetHotImageDicomValue(unsigned short group, unsigned short element);
    Lettra GetDicomFileNameAt(int index);
    Lettra GetDicomFileInfoXMLAt(int index);
    Lettra GetDicomValueAt(int index, unsigned short group, unsigned short element);
    int GetDicomFileAt(int index, DICOMFile* out);
    int GetSelectedImages(Array<ImageShow*>* images);

    void SetViewName(const char* name) { m_strName = name != nullptr ? name : ""; }
    const Lettra& GetViewName() const { return m_strName; }
    ImageLayout& GetImageLayout() { return m_Layout; }

    // Handlers the view hangs on itself and on its layout.
    void OnEventSelChanged(const void* sender, DelegateArgs* args);
    void OnEventImageUpdated(const void* sender, DelegateArgs* args);
    void OnEventPageUpdated(const void* sender, DelegateArgs* args);
    void OnEventSeriesSelChanged(const void* sender, DelegateArgs* args);
    void OnEventHotImageSelChanged_ScrollBar(const void* sender, DelegateArgs* args);
    void OnEventSetLeftButton(const void* sender, DelegateArgs* args);
    void OnEventSetRightButton(const void* sender, DelegateArgs* args);
    void OnEventVertScroll(const void* sender, DelegateArgs* args);
    void OnEventLoadCompleted(const void* sender, DelegateArgs* args);
    // The popup of the hot pane for the command (ValueArgs; none counts as
    // the empty pane's), tracked with the pane as owner.
    void OnEventPopupMenu(const void* sender, DelegateArgs* args);
    // The entries of the view's series at the top of the popup, or in a
    // "Series" submenu there when they are many; the positions used.
    int AddSeriesMenu(CMenuCH* popup);
    void OnEventKeyDown(const void* sender, DelegateArgs* args);
    void OnEventMouseWheel(const void* sender, DelegateArgs* args);
    void OnEventLeftButtonDblClk(const void* sender, DelegateArgs* args);
    void OnEventHotImageScrolling(const void* sender, DelegateArgs* args);
    void OnEventHotImageScrolled(const void* sender, DelegateArgs* args);
    // A pane was pressed: it becomes the hot pane.
    void OnEventHighlight(const void* sender, DelegateArgs* args);
    // The render-state handlers hung on the panes by scope (1: all panes,
    // 10: the selected ones); each takes them all off while it runs.
    void AttachRenderStateEvent();
    void DetachRenderStateEvent();
    void OnEventFinalWindowLevel(const void* sender, DelegateArgs* args);
    void OnEventFinalPan(const void* sender, DelegateArgs* args);
    void OnEventFinalZoom(const void* sender, DelegateArgs* args);
    void OnEventFinalWindowLevelForSelected(const void* sender, DelegateArgs* args);
    void OnEventFinalPanForSelected(const void* sender, DelegateArgs* args);
    void OnEventFinalZoomForSelected(const void* sender, DelegateArgs* args);

    // Events, in the order the view declares them (the spare ones of the
    // original set carry nothing and are left out).
    Delegate ViewReleasing;
    Delegate ViewReleased;
    Delegate SeriesSelChanged;
    Delegate HotImageSelChanged;
    Delegate HotImageReplaced;
    Delegate MouseWheel;
    Delegate CtrlMouseWheel;
    Delegate ShiftMouseWheel;
    Delegate CtrlShiftMouseWheel;
    Delegate LeftButtonDblClk;
    Delegate KeyDown;
    Delegate SetLeftButtonEvent;
    Delegate SetRightButtonEvent;
    Delegate ImageAdding;
    Delegate ImageAdded;
    Delegate SeriesClosed;
    Delegate HotImageScrolling;
    Delegate HotImageScrolled;
    Delegate PageChanged;
    Delegate VertScroll;
    Delegate LoadCompleted;
    Delegate PopupMenu;
    Delegate SeriesNavigation;
    Delegate Activated;
    Delegate InitialUpdateDone;
    Delegate ViewDestroying;

protected:
    void OnInitialUpdate() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnPageToImageMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    // The page-scroll drag of the view (PageScrollTask) in the loop of the
    // button; mode: the task's modifier bits.
    void RunPageScroll(int button, int mode, bool interactive, POINT point);
    // The press sent on to the parent window at the same place.
    void ForwardPress(UINT message, UINT flags, POINT point);

    DECLARE_MESSAGE_MAP()

private:
    using OpenKey = int (CImageView::*)(Corvane* holder);
    // The series an image goes to by each open mode's key; -1 for none.
    int SeriesKeyByStudy(Corvane* holder);
    int SeriesKeyBySeries(Corvane* holder);
    int SeriesKeyByImage(Corvane* holder);
    bool OpenSkipping(Corvane* holder, OpenKey key, const char* name);
    bool OpenReloading(Corvane* holder, OpenKey key, const char* warning, int probe);
    void ReloadInPlace(ImageShow* existing, Corvane* holder);

    // Subscriptions.
    void SubscribeLayoutEvents();
    void UnsubscribeLayoutEvents();
    void SubscribeOwnEvents();
    void UnsubscribeOwnEvents();

    // Hot pane, page and scroll position.
    void SetHotPane(int pane);
    void FireHotImageReplaced(ImageShow* hot, ImageShow* old);
    void FireHotImageSelChanged(ImageShow* hot, ImageShow* old);
    // The pane that shows the image, else the pane of its page position;
    // -1 when neither.
    int PaneOf(const ImageShow* show) const;
    int PaneIndex(const void* pane) const;
    // The panes show the images of the page; an image that only moves to
    // another pane keeps its decoded pixels.
    void ShowOnPanes(const Array<ImageShow*>& shown);
    // Takes every pane's image off it (its pixels released unless kept).
    void DetachPanes(bool keepData);
    static void DetachPane(MedImage* pane, bool keepData);
    // The pane's image as the view's switches say: labels and overlays.
    void ApplySwitchesToPane(MedImage* pane) const;
    template <class Operation> void ForEachPane(Operation operation) const
    {
        for (int index = 0; index < GetPaneCount(); ++index)
        {
            operation(GetPane(index));
        }
    }
    // Render state: the other panes (all, or the selected ones) and the
    // other images of the current series take the sender's window, pan or
    // zoom.
    enum enRenderState
    {
        enWindowLevelState,
        enPanState,
        enZoomState
    };
    void PropagateRenderState(const void* sender, enRenderState state, int first, int second,
                              bool selectedOnly);
    static void ApplyRenderStateToImage(ImageShow* image, enRenderState state, const ImageShow* hot,
                                        int first, int second, double zoom);
    void SetScrollRange(int count, bool resetPosition, bool relayout);
    void SetScrollPosition(int position);
    void RelayoutPanes();
    // A copy of the series (or of one image of it) at the end of this
    // view's series; the first series becomes current when none was.
    void AppendSeriesCopy(const SeriesShow& source, const ImageShow* only);
    // The settings a copy takes from the view it was copied from.
    void FinishCopy(const CImageView& source, int scope);
    void ApplyToolsToPanes();
    void Sort(UINT command);
    void StoreCurrentSeriesState();
    void ShowPageOf(ImageShow* hot);
    // The format the newly current series takes: its own, else the one
    // the view left with, which is stored on it.
    void AdoptFormat(const char* caller, const CString& left);

    // Images an operation acts on by scope: the hot image alone, the
    // selected ones, or every image of the current series.
    std::vector<ImageShow*> ImagesInScope(bool* hotOnly);
    // The hot pane's own operation for the hot image alone; otherwise the
    // image operation on each image of the scope (or the pane operation
    // when the image is on a pane and throughPanes), then the panes redrawn
    // and their image-changed events fired.
    template <class ImageOperation, class PaneOperation>
    void ForImagesInScope(ImageOperation onImage, PaneOperation onPane, bool throughPanes);
    // The image of the current series at a position, loaded when it holds
    // no data set; null for a missing position.
    ImageShow* ImageWithDataAt(int index);
    int WriteShownImage(ImageShow& show);
    // The image's own handle: the view writes its flags and trims its data.
    static Corvane& HolderOf(ImageShow* show);

    Lettra m_strName;
    ImageLayout m_Layout;
    ImageShow* m_pClipboard = nullptr;
    int m_nScope = 0;
    bool m_bLabels = true;
    bool m_bOverlays = true;
    // Shown or not as the configuration says when the view is made.
    bool m_bScrollBar;
    int m_nTimer = 0;
    int m_nLeftTool = DefaultLeftTool;
    int m_nRightTool = DefaultRightTool;
    int m_nHotPane = -1;
    Lettra m_strViewLayout = DefaultLayout;
    CString m_strSavedFormat;
};
