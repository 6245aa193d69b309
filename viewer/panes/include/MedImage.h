// MedImage: the interactive image pane. A MetaView with one task set per
// mouse button, the drags of window/level, zoom and pan through temporary
// preview views, a list of annotations of its own beside the image's,
// keyboard handling, the read-outs and corner labels, clipboard copy, and
// the events through which the grid and its subclasses follow what the user
// does. Commands it does not handle go on to its parent.
#pragma once

#include "ImageShow.h"
#include "ImageTag.h"
#include "MetaView.h"
#include "MouseTask.h"
#include "MouseTaskSet.h"

#include <memory>

// A button press of the pane: its key flags and client point.
class QUILLON_API MouseArgs : public DelegateArgs
{
public:
    MouseArgs(UINT flags, int x, int y) : m_nFlags(flags), m_nX(x), m_nY(y) {}

    std::uint32_t m_nFlags;
    std::int32_t m_nX;
    std::int32_t m_nY;
};

// Two integers: a window (width, centre), a pan (x, y), a direction.
class QUILLON_API PairArgs : public DelegateArgs
{
public:
    PairArgs(int first, int second) : m_nFirst(first), m_nSecond(second) {}

    int m_nFirst;
    int m_nSecond;
};

class QUILLON_API MedImage : public MetaView
{
    DECLARE_DYNCREATE(MedImage)

public:
    // Commands the pane sends its parent to ask for a popup menu.
    enum enMenuCommand
    {
        enImageMenu = 9500,
        enAnnotationMenu = 9501,
        enShutterMenu = 9502,
        enPaneAnnotationMenu = 9504,
        enEmptyPaneMenu = 9510
    };
    // Commands the pane carries out itself: the annotation layer shown or
    // hidden (the popup's annotation commands; an annotation's own context
    // commands, enRoiCommand, go to the annotation the popup was opened on,
    // else to the selected ones), a repaint, the clipboard copy and zooms.
    enum enPaneCommand
    {
        enCmdShowOverlays = 4004,
        enCmdHideOverlays = 4005,
        enCmdRepaint = 4006,
        enCmdCopy = 2256,
        enCmdZoomPixelByPixel = 2499,
        enCmdZoomFit = 2502
    };
    // Timer of the timed rectangle, and its period.
    static constexpr UINT_PTR TimedRectTimer = 100;
    static constexpr UINT TimedRectPeriod = 500;
    // One step of ZoomIn and ZoomOut.
    static constexpr double ZoomStep = 1.25;

    MedImage();
    ~MedImage() override;

    // Annotations of the image shown, and the pane's own.
    virtual void ClearAnnotations();
    virtual void AddAnnotationShared(const ImageShow::RoiPtr& roi, bool redraw);
    virtual void AddAnnotation(ORoi* roi, bool redraw);
    // Removes it only when it allows it.
    virtual bool RemoveAnnotation(ORoi* roi);
    virtual bool RemoveAnnotationForced(ORoi* roi);
    virtual void AddPaneAnnotation(ORoi* roi);
    virtual bool RemovePaneAnnotation(ORoi* roi);
    virtual void ClearPaneAnnotations();
    const Array<ImageShow::RoiPtr>& GetPaneAnnotations() const { return m_PaneRois; }
    // What a window point hits of the annotations, the topmost first (the
    // last drawn): a hit code (enRoiHit, 0 for none) and the index of the
    // annotation hit. With select, the one hit is selected, and the others
    // deselected when asked.
    virtual int HitTestImageAnnotations(int x, int y, int* index, bool select, bool deselectOthers);
    virtual int HitTestPaneAnnotations(int x, int y, int* index, bool select, bool deselectOthers);
    // The mouse work of a hit: the annotation's own, else a drag that
    // moves it whole, one of its points or its label.
    virtual bool DispatchRoiHit(int modifiers, int x, int y, int code, int index);
    virtual bool DispatchPaneRoiHit(int modifiers, int x, int y, int code, int index);
    // The pointer over the pane while no task claims it: an annotation (or
    // the shutter's edge) under it shows the cursor of what a press there
    // would do, and an annotation is highlighted meanwhile. True when the
    // move was taken.
    virtual bool HoverPaneAnnotations(UINT flags, int x, int y);
    virtual bool HoverImageAnnotations(UINT flags, int x, int y);
    virtual bool HoverMask(UINT flags, int x, int y);
    // The annotation the pointer rests on, or null.
    ORoi* GetHoveredAnnotation() const { return m_Hovered.lock().get(); }
    // Enter, and a double click on an annotation: the key goes to the
    // selected annotations; true when one took it.
    virtual bool OnEnterKey();
    // The three annotation events: one was added to the image or the
    // pane, a selected one took a key, some were removed.
    enum enAnnotationEvent
    {
        enAnnotationAdded,
        enAnnotationChanged,
        enAnnotationsRemoved
    };
    virtual void FireAnnotationEvent(int which);
    // Deselects every annotation of the image and of the pane; true when
    // any was selected.
    bool ClearSelection();
    // Removes the selected annotations of the image that allow it; how
    // many went.
    int DeleteSelectedRois();

    // Tools of the buttons' task sets; a failing tool change is dropped.
    virtual void SetLeftButtonTool(int code);
    virtual void SetRightButtonTool(int code);
    virtual void SetMiddleButtonTool(int code);
    MouseTaskSet& GetLeftTasks() { return *m_pLeftTasks; }
    MouseTaskSet& GetMiddleTasks() { return *m_pMiddleTasks; }
    MouseTaskSet& GetRightTasks() { return *m_pRightTasks; }

    // The corner labels of the image: the label configuration's items for
    // its modality, else the default builder's.
    virtual void BuildImageLabels(ImageShow* show);
    // Patient, study, series, image and frame numbers and the slice
    // geometry.
    virtual void BuildDefaultLabels(ImageShow* show);
    // The label configuration the corner labels come from; the process's
    // unless a view gives its own. Null leaves the default labels.
    void SetImageTag(ImageTag* tags) { m_pImageTag = tags; }
    ImageTag* GetImageTag() const { return m_pImageTag; }
    virtual void Undo();
    virtual bool IsEmpty() const;
    virtual void SetTimedRect(const RECT* rect);
    // As SetTimedRect; the rectangle goes again after TimedRectPeriod.
    virtual void ShowTimedRect(const RECT* rect);
    const CRect& GetTimedRect() const { return m_rcTimed; }
    virtual bool OnDeleteKey();

    // Labels and overlays.
    void HideLabels();
    void ShowLabels();
    void ShowOverlays(bool show);
    bool AreOverlaysShown() const { return m_bOverlaysShown; }
    void SetAutoFocus(bool autoFocus) { m_bAutoFocus = autoFocus; }
    bool IsAutoFocus() const { return m_bAutoFocus; }

    // Zoom commands; each stores the result in the image.
    void ZoomFitInWindow();
    void ZoomPixelByPixel();
    void ZoomIn();
    void ZoomOut();
    // Zooms so that the window rectangle fills the pane.
    void ZoomToScreenRect(const RECT& rect);
    // A window made for the pixels under the window rectangle, described
    // "Auto, W:%d, L:%d", becomes the image's current table; false without
    // an image, with a rectangle off the image or pixels that give none.
    bool AutoWindowLevelRect(const RECT& rect);
    // Back to the image as loaded, fitted to the pane.
    void Restore();

    // Lookup tables: makes one current (false out of range or without an
    // image); one line per table, the current one marked "* ".
    bool SelectLUT(int index);
    Lettra GetAllLUTDescription() const;
    // The same of the tables the image had when it was loaded.
    Lettra GetOriginalLUTDescription() const;

    // The image as shown (full resolution, current window and turns) on
    // the clipboard as CF_DIB; false without an image or a clipboard.
    bool CopyToClipboard();
    bool SaveAsDicomFile(const char* path);
    bool SaveAsBitmap(const char* path);
    bool SaveAsJPEG(const char* path);

    // MetaView and CViewPort.
    void ResetView() override;
    void FlipHorizontal() override;
    void FlipVertical() override;
    void Rotate(int quarterTurns) override;
    void Invert() override;
    void CommitZoom() override;
    void CommitPan() override;
    void OnWindowLevelEnd() override;
    void OnWindowLeveled(int width, int center) override;
    void BeginZoomDrag() override;
    void BeginPanDrag() override;
    void OnWindowLevelStart(int* width, int* center) override;
    bool AttachShow(ImageShow* show) override;
    void ReleaseImageData() override;
    void DrawOverlayLayerAbove(CDC* pDC) override;

    // Events; the pane is the sender.
    Delegate& GetClickedEvent() { return m_EventClicked; }
    Delegate& GetSizeEvent() { return m_EventSize; }
    // PairArgs {width, centre}.
    Delegate& GetWindowLevelEvent() { return m_EventWindowLevel; }
    Delegate& GetInvertEvent() { return m_EventInvert; }
    // PairArgs {pan x, pan y}.
    Delegate& GetZoomEvent() { return m_EventZoom; }
    Delegate& GetPanEvent() { return m_EventPan; }
    Delegate& GetFlipHorizontalEvent() { return m_EventFlipHorizontal; }
    Delegate& GetFlipVerticalEvent() { return m_EventFlipVertical; }
    // PairArgs {quarter turns, 0}.
    Delegate& GetRotateEvent() { return m_EventRotate; }
    // MouseArgs; button MouseTask::enButton.
    Delegate& GetBeforeButtonDownEvent(int button) { return m_EventBefore[ButtonIndex(button)]; }
    Delegate& GetButtonDownEvent(int button) { return m_EventButtonDown[ButtonIndex(button)]; }
    Delegate& GetAfterButtonDownEvent(int button) { return m_EventAfter[ButtonIndex(button)]; }
    Delegate& GetDoubleClickEvent(int button) { return m_EventDoubleClick[ButtonIndex(button)]; }
    Delegate& GetUndoEvent() { return m_EventUndo; }
    // Fired when the image shown changes (PointerDelegateArgs: the show).
    Delegate& GetImageChangedEvent() { return m_EventImageChanged; }
    Delegate& GetAnnotationsChangedEvent() { return m_EventAnnotations[enAnnotationsRemoved]; }
    Delegate& GetAnnotationEvent(int which) { return m_EventAnnotations[which]; }
    int GetUndoLevel() const { return m_nUndoLevel; }

    // The modifier value of a press: Ctrl 2, Shift 1; for the left button
    // both may add up to 3, for the others Ctrl wins.
    static int LeftModifiers(UINT flags);
    static int OtherModifiers(UINT flags);

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    DECLARE_MESSAGE_MAP()

    // The pane's own handlers of its button events.
    void OnEventLeftButtonDown(const void* sender, DelegateArgs* args);
    void OnEventMiddleButtonDown(const void* sender, DelegateArgs* args);
    void OnEventRightButtonDown(const void* sender, DelegateArgs* args);
    void OnEventLeftButtonDblClk(const void* sender, DelegateArgs* args);

    static int ButtonIndex(int button);
    void FireButtonDown(int button, UINT flags, CPoint point);
    void FireSimple(Delegate& event);
    void TakeFocus();
    // Runs the task in the loop of the button, remembering the press for
    // the preview views.
    void Track(MouseTask* task, int button, POINT point);
    // The press of the running drag, sent again to a preview view.
    void ResendPress(CWnd* view);
    void ClearTimedRect();
    void PostCurrentMessageToParent();
    void ApplyDragResult(double zoom, POINT pan);
    void MoveImageWindow();
    bool AttachAgain();
    // The image's annotations, or the pane's.
    const Array<ImageShow::RoiPtr>* ImageRois() const;
    const Array<ImageShow::RoiPtr>* PaneRois() const { return &m_PaneRois; }
    // True when any was selected.
    static bool DeselectAll(const Array<ImageShow::RoiPtr>* rois);
    static int HitTestList(const Array<ImageShow::RoiPtr>& rois, int x, int y, int* index,
                           bool select, bool deselectOthers);
    bool DispatchHit(const Array<ImageShow::RoiPtr>& rois, int modifiers, int x, int y, int code,
                     int index);
    bool HoverList(const Array<ImageShow::RoiPtr>* rois, int x, int y);
    void SetHovered(const ImageShow::RoiPtr& roi);
    // The menu a click without a drag asks for, by what lies under it; the
    // annotation hit becomes the target of the context commands.
    UINT PopupMenuAt(POINT point);
    // A context command to its annotations; true when one took it.
    bool RunRoiCommand(int command);
    bool FinishRoiCommand(bool taken);
    bool HasRoiCommandTarget() const;
    // The lines of the label configuration's items of one corner.
    void AddTagLabels(ImageShow* show, const Array<ImageTag::TagMetaItem>& items, int position);
    // The corner labels of the image go; the read-outs stay, last.
    void ClearImageLabels();
    // A key going down reaches every selected annotation, the image's
    // first; a key going up only until one takes it. True when one took it.
    bool OfferKeyToSelected(UINT key, UINT repeat, UINT flags, bool up = false);

    Array<ImageShow::RoiPtr> m_PaneRois;
    std::unique_ptr<MouseTaskSet> m_pLeftTasks;
    std::unique_ptr<MouseTaskSet> m_pMiddleTasks;
    std::unique_ptr<MouseTaskSet> m_pRightTasks;
    bool m_bAutoFocus = true;
    bool m_bOverlaysShown = true;
    CRect m_rcTimed;
    COLORREF m_crTimed = 0xFFFFFF;
    UINT_PTR m_nTimer = 0;
    int m_nUndoLevel = 0;
    int m_nDragButton = MouseTask::enLeftButton;
    POINT m_ptDragStart = {0, 0};
    UINT m_nDragFlags = 0;
    MouseTask* m_pDragTask = nullptr;
    ImageTag* m_pImageTag = &ImageTag::Get();
    std::weak_ptr<ORoi> m_Hovered;
    std::weak_ptr<ORoi> m_PopupRoi;
    bool m_bPopupOnMask = false;

    Delegate m_EventClicked;
    Delegate m_EventSize;
    Delegate m_EventWindowLevel;
    Delegate m_EventInvert;
    Delegate m_EventZoom;
    Delegate m_EventPan;
    Delegate m_EventFlipHorizontal;
    Delegate m_EventFlipVertical;
    Delegate m_EventRotate;
    Delegate m_EventBefore[3];
    Delegate m_EventButtonDown[3];
    Delegate m_EventAfter[3];
    Delegate m_EventDoubleClick[3];
    Delegate m_EventUndo;
    Delegate m_EventImageChanged;
    Delegate m_EventAnnotations[3];
};
