// Overlay and ORoi: the base of every annotation drawn over an image.
//
// An annotation belongs to the ImageShow whose list holds it (its owner)
// and keeps its geometry in the pixels of that image; its pane is reached
// through the owner. Overlay holds what all of them share: the kind, the
// bounding rectangle, the drawing style, the display and selection flags,
// the events and a serial number. ORoi adds the modified flag, the
// measurement label of the classes that have one, the measurement document
// and the flips and quarter turns that keep an annotation on the pixels it
// marks when the image is turned.
#pragma once

#include "AfxObject.h"
#include "Delegate.h"
#include "Lettra.h"
#include "QuillonExport.h"
#include "RoiFont.h"
#include "WinGeometry.h"

#include <cstdint>
#include <memory>

class CDC;
class CRgn;
class CViewPort;
class ImageShow;
class ORoiTextLabel;
class TextLabelHolder;

// What a point of the pane hits of an annotation; a pane hands each code
// to the annotation's operation of that code.
enum enRoiHit
{
    enHitNone = 0,
    enHitBody = 6,    // the annotation: move it whole
    enHitRight = 16,  // the annotation, with the right button
    enHitEdgeX = 32,  // a left or right edge of a region: move that edge
    enHitEdgeY = 64,  // a top or bottom edge of a region
    enHitHandle = 96, // one of its points: move that point
    enHitLabel = 512  // its measurement label: move the label
};

// The context commands an annotation takes (the pane's popup menu).
enum enRoiCommand
{
    enCmdToTail = 716, // drawn last, on top of the others
    enCmdTowardTail = 717,
    enCmdTowardHead = 718,
    enCmdToHead = 719, // drawn first, under the others
    enCmdLockOn = 720,
    enCmdLockOff = 721,
    enCmdLockToggle = 722,
    enCmdShowOn = 723,
    enCmdShowOff = 724,
    enCmdShowToggle = 725,
    enCmdLabelOn = 730,
    enCmdLabelOff = 731,
    enCmdLabelToggle = 732
};

class QUILLON_API Overlay : public CObject
{
    DECLARE_DYNAMIC(Overlay)

public:
    ~Overlay() override;

    int GetTypeId() const { return m_nTypeId; }
    ImageShow* GetOwner() const { return m_pOwner; }
    void SetOwner(ImageShow* owner) { m_pOwner = owner; }
    // Taken from a process-wide counter: the first object gets 1.
    int GetSerialNumber() const { return m_nSerialNumber; }

    // The tag of the measurement document: the class name unless a class
    // says otherwise. The display name is what users see.
    virtual const char* GetClassTag() const;
    virtual const char* GetDisplayName() const;

    virtual void GetRect(RECT* out) const;
    virtual void SetRect(const RECT& rect);
    // Same kind and rectangle; classes with points compare them too.
    virtual bool IsEqual(const Overlay& other) const;
    virtual bool CanRemove() const;
    // Draws the annotation over its owner's image, mapped through the
    // owner's view.
    virtual void Draw(CDC* pDC) = 0;
    // The area the annotation encloses (a shutter's opening), in window
    // pixels of its owner's view; false, leaving the region alone, for an
    // annotation that encloses none.
    virtual bool GetScreenRegion(CRgn* region) const;
    // Mirror or turn the geometry inside the owner's image, whose matrix has
    // been flipped or turned already: Rotate turns by quarter turns
    // counter-clockwise, as the image's rotation does.
    virtual void FlipVertical() = 0;
    virtual void FlipHorizontal() = 0;
    virtual void Rotate(int quarterTurns) = 0;

    // The style is the annotation's own; SetStyleFrom copies another.
    RoiFont& GetStyle() { return *m_pStyle; }
    const RoiFont& GetStyle() const { return *m_pStyle; }
    virtual void SetStyleFrom(const RoiFont& style);

    bool IsShown() const { return m_bShown != 0; }
    virtual void SetShown(bool shown);
    bool IsHitEnabled() const { return m_bHitEnabled != 0; }
    void SetHitEnabled(bool enabled) { m_bHitEnabled = enabled ? 1 : 0; }
    // A reference line of another image's plane, not an annotation of this
    // one: it is neither hit nor part of the image's measurements.
    bool IsRefLine() const { return m_bRefLine != 0; }
    void SetRefLine(bool refLine) { m_bRefLine = refLine ? 1 : 0; }
    bool IsNoHandles() const { return m_bNoHandles != 0; }
    void SetNoHandles(bool noHandles) { m_bNoHandles = noHandles ? 1 : 0; }
    // A locked annotation is selected and hit but neither moved nor
    // reshaped.
    bool IsLocked() const { return m_bLocked != 0; }
    void SetLocked(bool locked) { m_bLocked = locked ? 1 : 0; }
    bool IsSelected() const { return m_bSelected != 0; }
    bool IsHighlighted() const { return m_bHighlighted != 0; }
    int GetHandleSize() const { return m_nHandleSize; }
    // Flags of the annotation's users, kept and copied with the others.
    bool GetFlagA() const { return m_bFlagA != 0; }
    void SetFlagA(bool on) { m_bFlagA = on ? 1 : 0; }
    bool GetFlagE() const { return m_bFlagE != 0; }
    void SetFlagE(bool on) { m_bFlagE = on ? 1 : 0; }
    bool GetFlagF() const { return m_bFlagF != 0; }
    void SetFlagF(bool on) { m_bFlagF = on ? 1 : 0; }
    // Handle snapping, on by the process-wide default at construction.
    bool IsSnapEnabled() const { return m_bSnap != 0; }
    void SetSnap(bool on) { m_bSnap = on ? 1 : 0; }
    void ToggleSnap() { m_bSnap = m_bSnap != 0 ? 0 : 1; }
    static void SetSnapDefault(bool on);
    // The annotation another one is linked to (-1: none), and values its
    // users keep on it; ResetState clears the state value.
    int GetLinkIndex() const { return m_nLinkIndex; }
    void SetLinkIndex(int index) { m_nLinkIndex = index; }
    int GetUserValue() const { return m_nUserValue; }
    void SetUserValue(int value) { m_nUserValue = value; }
    int GetStateValue() const { return m_nStateValue; }
    void SetStateValue(int value) { m_nStateValue = value; }
    void ResetState() { m_nStateValue = 0; }
    // What kind of annotation this is, for the lists that group them.
    virtual const char* GetCategoryName() const;
    virtual std::int32_t GetCategoryId() const;
    virtual const char* GetCategoryText() const;
    // 0 for a non-zero first value, else -1.
    static int IndexResult(int first, int second);
    // A change of state: highlighted, no longer; nothing here.
    static constexpr int NotifyHighlighted = 10;
    static constexpr int NotifyUnhighlighted = 11;
    virtual void OnNotify(int code);

    // The 2x3 affine transform of the drawing: M11, M12, M21, M22, Dx, Dy.
    void SetTransform(const float (&transform)[6]);
    void ResetTransform();
    // The transform becomes this one times the other (rows as points).
    void MultiplyTransform(const float (&other)[6]);
    const float (&GetTransform() const)[6] { return m_Transform; }

    // The flags, rectangle and style of this one given to another.
    virtual void CopyAttributes(Overlay& target) const;

    // The pane that shows the owner; null without an owner or a pane.
    CViewPort* GetViewPort() const;
    // What a window point of the pane hits, the tolerance in window pixels
    // (enRoiHit codes); 0 unless hit-enabled, shown and in a pane. Here:
    // the corner squares of the rectangle are handles, its inside the body.
    virtual int HitTest(int x, int y, int tolerance, int flags);
    // The same with the handle size as tolerance.
    int HitTestDefault(int x, int y, int flags);
    // Whether the annotation lies in a window rectangle of the pane: within
    // it, or only touching it when partial; false without a pane.
    bool IsInRect(int left, int top, int right, int bottom, bool partial) const;
    // Paints the pane again, the annotation in its present state.
    void Redraw() const;
    // The bounding rectangle as a green frame.
    void DrawBounds(CDC* pDC) const;
    // The handles of a selected annotation; nothing while off. The
    // highlight is left alone: were it set here, an annotation once drawn
    // selected would keep the highlight colour after being deselected.
    virtual void DrawHandles(bool on, CDC* pDC);
    // Drawn in the highlight colour while on; the shown events follow.
    void SetHighlighted(bool on, bool redraw);
    void Select(bool redraw);
    void Deselect(bool redraw);

    // Events, each fired with the annotation as sender and no argument.
    Delegate& GetDestroyingEvent() { return m_EventDestroying; }
    Delegate& GetShownEvent() { return m_EventShown; }
    Delegate& GetSelectedEvent() { return m_EventSelected; }
    Delegate& GetDeselectedEvent() { return m_EventDeselected; }

protected:
    Overlay(int typeId, ImageShow* owner);
    // An image point in window pixels of the pane (point form of the
    // mapping).
    POINT ToScreen(CViewPort& view, POINT point) const;

    int m_nTypeId;
    std::unique_ptr<RoiFont> m_pStyle;
    ImageShow* m_pOwner;
    RECT m_Rect = {0, 0, 0, 0};
    int m_nHandleSize = 4;
    std::uint8_t m_bHitEnabled = 1;
    std::uint8_t m_bShown = 1;
    std::uint8_t m_bHighlighted = 0;
    std::uint8_t m_bRefLine = 0;
    std::uint8_t m_bNoHandles = 0;
    std::uint8_t m_bSelected = 0;
    std::uint8_t m_bLocked = 0;
    std::uint8_t m_bFlagA = 0;
    std::uint8_t m_bFlagE = 1;
    std::uint8_t m_bFlagF = 0;
    std::uint8_t m_bSnap;
    int m_nLinkIndex = -1;
    int m_nUserValue = 0;
    int m_nStateValue = 0;
    float m_Transform[6] = {1.0F, 0.0F, 0.0F, 1.0F, 0.0F, 0.0F};
    Delegate m_EventDestroying;
    Delegate m_EventShown;
    Delegate m_EventSelected;
    Delegate m_EventDeselected;
    int m_nSerialNumber;
};

class QUILLON_API ORoi : public Overlay
{
    DECLARE_DYNAMIC(ORoi)

public:
    ~ORoi() override;

    // A new annotation of the same class for that owner, with this one's
    // geometry and attributes.
    virtual ORoi* Clone(ImageShow* owner) const = 0;

    // With snapping on: the first handle point nearer than 16 image pixels
    // to the point (of this annotation, or of another) replaces it, and
    // its index is given; false, the point left alone, otherwise.
    bool SnapPoint(POINT* point) const;
    bool SnapPoint(POINT* point, int* index) const;
    bool SnapToOther(const ORoi& other, POINT* point) const;
    bool SnapToOther(const ORoi& other, POINT* point, int* index) const;
    // This one's geometry (rectangle, points, label) taken from another of
    // the same class.
    virtual void CopyGeometry(const ORoi& other);
    // Same kind, rectangle and points.
    bool IsEqual(const Overlay& other) const override;

    // While shown and in a pane: the kind's figure, its label, and its
    // handles while selected.
    void Draw(CDC* pDC) override;
    // The label first, then the handle points (96) and the segments
    // between them (6, their ends 96); the rectangle without points.
    int HitTest(int x, int y, int tolerance, int flags) override;
    // A handle square at every handle point.
    void DrawHandles(bool on, CDC* pDC) override;

    // The points (or, without points, the bounding rectangle) mirrored or
    // turned inside the owner's image, the label first; then the
    // measurement is updated.
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(int quarterTurns) override;
    // Moves the annotation and its label by whole image pixels.
    virtual void Offset(int dx, int dy);

    bool IsModified() const { return m_bModified != 0; }
    void SetModified() { m_bModified = 1; }
    void ClearModified() { m_bModified = 0; }

    // Measurements: Recalc computes the value again, UpdateLabel writes it
    // into the label; Update runs both, after every change of the points.
    virtual bool IsMeasurement() const;
    virtual void Recalc();
    virtual void UpdateLabel();
    void Update();
    // The value with its unit, as a label shows it; empty without one.
    virtual Lettra GetMeasureText() const;
    // Fired by Recalc.
    Delegate& GetRecalcEvent() { return m_EventRecalc; }

    // The label holder of the classes that have a measurement label.
    virtual TextLabelHolder* GetLabelHolder() const;
    ORoiTextLabel* GetLinkedLabel() const;
    // The point the label belongs to: the bottom-right corner here.
    virtual POINT GetLabelAnchor() const;
    // Puts the label (made when there is none) at its anchor.
    virtual void PlaceLabel();

    // The points a user can drag, in image pixels: the defining points
    // here. The count returned.
    virtual int GetHandlePoints(POINT* points, int capacity) const;
    // Moves one of them and updates; false for an index the annotation
    // does not have.
    virtual bool SetHandlePoint(int index, POINT point);

    // Context commands; true when handled.
    virtual bool OnCommand(int command);
    // The mouse work of a hit code (enRoiHit) at a window point of the
    // pane, the key flags of the button press given; true when the
    // annotation took it. Here: a body, handle or label press drags that
    // part of an unlocked annotation in the pane's drag loop.
    virtual bool OnHit(int code, int flags, int x, int y);
    // A key while selected: the arrow keys move an unlocked annotation by
    // one image pixel. True when the key was taken.
    virtual bool OnKeyDown(UINT key, UINT repeat, UINT flags);
    // A key let go while selected; none is taken here.
    virtual bool OnKeyUp(UINT key, UINT repeat, UINT flags);

    // The measurement document and its parts.
    virtual Lettra XmlSerialize() const;
    // False, with the reason logged, for a document this class cannot read.
    virtual bool XmlDeserialize(const Lettra& xml);
    // The "<Internal>" element: the drawing primitives and the label's
    // text; empty while not shown or without primitives.
    virtual Lettra XmlSerializeInternal() const;
    Lettra XmlSerializeContext() const;
    void XmlDeserializeContext(const Lettra& xml);

protected:
    ORoi(int typeId, ImageShow* owner);
    // The kind's own figure in the pane; nothing here.
    virtual void DrawShape(CDC* pDC, CViewPort& view);
    // The colour the figure is drawn in now (the highlight while selected).
    COLORREF GetDrawColor() const;
    // A line in the style's width and colour, its shadow first when the
    // style has one; window pixels.
    void DrawStyledLine(CDC* pDC, CViewPort& view, POINT a, POINT b) const;
    // The segments the body is hit on, as pairs of image points; the count
    // of points written. Here: none.
    virtual int GetHitSegments(POINT* ends, int capacity) const;
    // The points that define the annotation, in image pixels; none here.
    virtual POINT* GetPoints(int& count);
    const POINT* GetPoints(int& count) const;
    // After the points changed: the rectangle around them.
    virtual void PointsChanged();
    // Reads the document's "<Private>" elements as the points and its
    // context; false, logged, for a document that lacks them.
    bool ReadPrivatePoints(const Lettra& xml);
    // The owner's image size now (after its matrix was turned); 0, 0
    // without an owner or a matrix.
    SIZE GetImageSize() const;
    // A point of the owner's image mirrored or turned as the image was;
    // (-1, -1) without an owner.
    POINT MirrorVertical(POINT point) const;
    POINT MirrorHorizontal(POINT point) const;
    POINT Turn(POINT point, int quarterTurns) const;
    SIZE GetSizeBeforeTurn(int quarterTurns) const;
    // The measurement name of the document frame: the display name.
    virtual const char* GetMeasurementName() const;
    // The "<Private>" element of the document, CR LF ended.
    virtual Lettra XmlSerializePrivate() const;
    // The primitives inside "<Internal>": "<Line>" elements and the like.
    virtual Lettra XmlSerializePrimitives() const;
    // Gives the label, when there is one, the measurement text, the number
    // and unit it shows and the label anchor.
    void WriteLabel(const Lettra& number, const char* unit);
    // Context commands 716 to 719: a new place in the owner's list.
    bool MoveInOwnerList(int command);
    // Maps every point, the label first, and updates; the rectangle is
    // mapped when there are no points.
    template <class PointMap, class RectMap> void Transform(PointMap map, RectMap mapRect);

    int m_bModified = 0;
    Delegate m_EventRecalc;
};

// Turns a rectangle of an image of the given size (before the turn) by
// quarter turns counter-clockwise, as the image's pixels turn.
QUILLON_API RECT RotateRect(const RECT& rect, SIZE before, int quarterTurns);
// Turns a point the same way: (x, y) goes to (y, width - x) at each turn.
QUILLON_API POINT RotatePoint(POINT point, SIZE before, int quarterTurns);
