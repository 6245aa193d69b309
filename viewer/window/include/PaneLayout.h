// PaneLayout: the view base of the image views. It turns a layout format
// (PaneLayoutFormat) into the rectangles of its panes, paints the gaps
// between them black with a one-pixel frame around each, tracks which pane
// is highlighted, and drives three timer lists by one window timer.
//
// The panes are image panes (MedImage), one child window per rectangle,
// owned by the view and kept on their rectangles as it is resized; a press
// on a pane highlights it.
#pragma once

#include "AfxWin.h"
#include "Array.h"
#include "Delegate.h"
#include "PaneLayoutFormat.h"
#include "QuillonExport.h"
#include "TimerList.h"

class ImageShow;
class MedImage;

class QUILLON_API PaneLayout : public CView
{
public:
    // Frame colours: the highlighted pane, the others while highlighting,
    // every pane while not; and the background.
    static constexpr COLORREF HighlightColor = RGB(0, 255, 0);
    static constexpr COLORREF OtherColor = RGB(255, 140, 0);
    static constexpr COLORREF PlainColor = RGB(0, 0, 255);
    static constexpr COLORREF BackgroundColor = RGB(0, 0, 0);
    // The id of the one window timer that drives the timer lists.
    static constexpr UINT_PTR TimerId = 0xFFFFFFFF;
    // Milliseconds between the timer's ticks.
    static constexpr unsigned TimerTickLength = 50;

    PaneLayout();
    ~PaneLayout() override;

    // The clipboard format of a pane drag; 0: panes are not dragged.
    virtual UINT GetDragClipboardFormat();
    // The text a pane drag carries: the view's window and the command that
    // asks it for its hot image; empty unless the pointer is over a pane
    // that shows an image.
    virtual CString GetDragText();
    // The drag-and-drop task's notice that a drag ended; nothing here.
    virtual void OnDragDropEnd();
    // Rebuilds the panes from the rectangle table: PanesRebuilding fires
    // first, then the old panes go and one pane is made per rectangle, one
    // pixel inside it.
    virtual void CreatePanes();
    // One pane window "ViewPort@<index>" with the index as its id.
    virtual MedImage* CreatePane(int left, int top, int right, int bottom, int index);
    // The pane's window, named by the format with the index, made on the
    // rectangle with the index as its id; null, the pane deleted, when it
    // cannot be made.
    MedImage* CreatePaneWindow(MedImage* pane, const char* nameFormat, const RECT& rect, int index);
    // The pane's position in the list (-1 when absent), highlighted.
    virtual int IndexOfPane(MedImage* pane);
    // The area the panes share: the client rectangle.
    virtual void GetLayoutRect(RECT* rect);
    // Highlights the pane of that index and redraws the frames; an index
    // outside the live panes changes nothing.
    virtual void SetHighLight(int index);
    virtual void DrawPaneBorders(CDC* pDC);
    // The highlight switch; nothing is redrawn.
    virtual void ShowHighLight(bool show);

    // Applies a format: 1, with the frames drawn, FormatChanged fired and
    // the client area validated; 0 for a rejected format, which leaves no
    // rectangles (the format is kept all the same) and a log line.
    int SetFormat(const char* format);
    CString GetFormat() const { return m_strFormat; }
    void SaveFormat() { m_strPreviousFormat = m_strFormat; }
    // The saved format, or "STANDARD\1,1" when none was saved; the panes
    // are not rebuilt.
    void RestoreFormat();

    // The pixel rectangle of a rectangle-table entry; out is left alone for
    // an index outside the table.
    void GetPaneRect(int index, RECT* out);
    int GetRectCount() const { return m_format.GetCount(); }
    int GetBandCount() const { return m_format.GetBandCount(); }
    int GetHighLight() const { return m_nHighLight; }
    bool IsShowHighLight() const { return m_bShowHighLight; }
    int GetPaneCount() const { return m_Panes.GetCount(); }
    // Null outside the live panes.
    MedImage* GetPane(int index) const;
    // The pane when it took the image, else null.
    MedImage* AttachShowToPane(int index, ImageShow* show);
    // The index, or -1 outside the live panes.
    int ResetPane(int index);
    void ResetAllPanes();
    void InvalidatePanes();
    void UpdatePanesNow();
    // True when no live pane shows an image.
    bool IsEmpty() const;
    // The pane the pointer is over (and not covered there), or null.
    MedImage* PaneUnderCursor() const;
    // The frames drawn and every pane moved onto its rectangle.
    void RepositionPanes();
    // The panes and the rectangles gone, no pane highlighted.
    void ReleasePanes();
    // Handler of the panes' activation: the pane pressed is highlighted.
    void OnEventHighLight(const void* sender, DelegateArgs* args);
    void ResetHighLight() { m_nHighLight = 0; }
    // The frames drawn again on the view's own surface.
    void RedrawBorders();
    // The whole client area painted black.
    void ClearClient();

    // The viewer window that made the view; the image views send it their
    // notices.
    void SetOwner(CWnd* owner) { m_pOwner = owner; }
    CWnd* GetOwner() const { return m_pOwner; }

    // Handler of the timer lists' Modified events.
    void OnTimerModified(const void* sender, DelegateArgs* args);

    Delegate PanesRebuilding;
    Delegate FormatChanged;
    Delegate Destroying;
    TimerList IntervalTimers;
    TimerList OneShotTimers;
    TimerList DailyTimers;

protected:
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    void DrawFrame(CDC* pDC, const RECT& rect);
    // Adds one tick to the entry's elapsed time; true, starting it again,
    // when that reaches its period.
    bool CountTick(TimerEntry* entry) const;
    void RunIntervalTimers();
    void RunOneShotTimers();
    void RunDailyTimers();

    CString m_strFormat;
    CString m_strPreviousFormat;
    CClientDC* m_pSurface = nullptr;
    void DestroyPanes();

    Array<MedImage*> m_Panes;
    PaneLayoutFormat m_format;
    int m_nHighLight = 0;
    bool m_bShowHighLight = false;
    unsigned m_nTickLength = TimerTickLength;
    CWnd* m_pOwner = nullptr;
};
