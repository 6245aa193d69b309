// ImageShow: one displayed image. It holds the Corvane handle of a DICOM
// image and the frame it shows, decodes that frame lazily into a MetaImage
// with its lookup tables, keeps the image's orientation history and display
// state, and turns the matrix into the DIB a pane paints through a chain of
// one-shot rendering stages: the handlers of its own Delegate, each of which
// takes itself off as it runs.
//
// Orientation is kept as a short history of letters ("H" horizontal flip,
// "V" vertical flip, "R" a quarter turn counter-clockwise) reduced to a
// canonical word of the eight symmetries of the square; it is replayed on
// the matrix whenever the frame is decoded again, and on the side labels
// and annotations once, when they are first loaded.
#pragma once

#include "Array.h"
#include "Corvane.h"
#include "DIBHolder.h"
#include "Delegate.h"
#include "MetaImage.h"
#include "ORoi.h"
#include "QuillonExport.h"

#include "AfxObject.h"
#include "WinGeometry.h"

#include <cstdint>
#include <memory>

class DICOMFile;
class DICOMVRSet;
class DICOMImage;
class MetaView;

class QUILLON_API ImageShow : public CObject
{
    DECLARE_DYNAMIC(ImageShow)

public:
    // Bits of the state word.
    enum enState : std::uint32_t
    {
        enReleasePixelsOnRelease = 0x0001, // the matrix frees its pixels
        enDeleteMatrixOnRelease = 0x0002,  // the matrix is deleted
        enKeepPixelData = 0x1000,          // nothing behind the image: never released
        enReleaseHolderPixels = 0x2000,
        enModified = 0x8000
    };
    static constexpr int HVRSize = 5;
    // The side labels: left, right, top and bottom of the image.
    enum enSide
    {
        enLeft,
        enRight,
        enTop,
        enBottom
    };

    using RoiPtr = std::shared_ptr<ORoi>;

    ImageShow();
    // The same handle, frame, settings, orientation and display state; the
    // pixels are decoded again when needed.
    ImageShow(const ImageShow& other);
    ImageShow& operator=(const ImageShow&) = delete;
    ~ImageShow() override;

    virtual ImageShow* Clone() const;
    // A copy (Clone) that shows another frame of the same image and keeps
    // this image's count of frames.
    ImageShow* CloneForFrame(int frame) const;

    // The image: a copy of the handle and the frame shown.
    void AttachCorvane(const Corvane& holder, int frame);
    const Corvane& GetHolder() const { return m_Holder; }
    DICOMImage* GetDicomImage() const { return m_Holder.GetDicomFile(); }
    int GetFrameIndex() const { return m_nFrameIndex; }
    // The frames the data set claims, until the frames present are counted
    // (CountFramesPresent, and every decode).
    int GetNbOfFrames() const { return m_nNbOfFrames; }
    // The frames the pixel data holds, found from the frames' headers
    // without decoding any: a file may claim more frames than it has. The
    // image's count of frames becomes it; 0 when no frame can be read.
    int CountFramesPresent();
    // 0 uncompressed, 1 lossless, 2 lossy.
    int GetCompressionState() const { return m_nCompression; }
    bool IsEmpty() const { return m_Holder.IsEmpty(); }
    bool IsSameImage(const ImageShow& other) const;
    int GetInstanceNo() const { return m_nInstanceNo; }
    // The load transaction the handle came with ("TID" in the logs).
    int GetTransactionID() const { return m_Holder.GetTransactionID(); }
    // An element of the image as trimmed text: from the image's data set,
    // else from the handle's image information; empty without either.
    Lettra GetDicomValue(unsigned short group, unsigned short element) const;
    void SetView(MetaView* view) { m_pView = view; }
    MetaView* GetView() const { return m_pView; }

    std::uint32_t GetState() const { return m_State; }
    void SetState(std::uint32_t state) { m_State = state; }
    bool IsModified() const { return (m_State & enModified) != 0; }
    void SetModified(bool modified);
    // Set by selecting panes; the series model clears it.
    bool IsSelected() const { return m_bSelected != 0; }
    void SetSelected(bool selected) { m_bSelected = selected ? 1 : 0; }
    // The image belongs to an ordered series that may be re-sorted: taken
    // from the handle's to-be-sorted flag when it is attached. An image laid
    // out by a hanging protocol has it clear.
    bool IsSortAllowed() const { return m_bSortAllowed != 0; }
    void SetSortAllowed(bool allowed) { m_bSortAllowed = allowed ? 1 : 0; }
    // The state icons a pane shows in its lower right corner: the image
    // carries annotations of its own, or was handed to the film program.
    enum enIconFlag : std::uint32_t
    {
        enIconAnnotated = 0x2,
        enIconHandedOver = 0x4
    };
    // The flags set, with enIconAnnotated while the image holds annotations.
    std::uint32_t GetIconFlags() const;
    void AddIconFlags(std::uint32_t flags) { m_nIconFlags |= flags; }

    // Annotations, owned by the image through shared pointers.
    virtual void AddAnnotation(const RoiPtr& roi);
    virtual void AddAnnotation(ORoi* roi);
    // Removes the annotation only when it consents.
    virtual bool DeleteAnnotation(ORoi* roi);
    virtual bool RemoveAnnotation(ORoi* roi);
    void ClearAnnotations();
    // Clones of every annotation, or of the selected ones, join the other
    // image's list with that image as their owner; the mask stays behind.
    // With select the clones become the other image's selection, so that
    // what was just pasted can be moved or deleted at once.
    void CopyAnnotationsTo(ImageShow& other, bool select) const;
    void CopySelectedAnnotationsTo(ImageShow& other) const;
    const Array<RoiPtr>& GetAnnotations() const { return m_Rois; }
    // The annotation's place in the list (drawing order), -1 when absent.
    int IndexOfAnnotation(const ORoi* roi) const;
    // Moves the annotation at one place to another (both clamped into the
    // list); false for an empty list.
    bool MoveAnnotation(int from, int to);
    ORoi* GetMask() const { return m_pMask; }
    // Takes the region annotation over, deleting the one held before.
    void SetMask(ORoi* mask);
    void DeleteMask() { SetMask(nullptr); }

    // Orientation.
    virtual void FlipVertical();
    virtual void FlipHorizontal();
    // n quarter turns counter-clockwise, n taken modulo 4 (negative too).
    virtual void Rotate(int quarterTurns);
    void Invert();
    const char* GetHVR() const { return m_HVR; }
    // Reduces the history to its canonical word.
    void CompileHVR();
    // Forgets every flip and turn: the side labels stand as the data set
    // gives them, and the image once it is decoded again.
    void ResetOrientation();
    // Replays the history on an annotation made on the unturned image.
    void HVRForOverlay(ORoi* roi);
    // The side label lists (one word each once built).
    Array<Lettra>& GetSideLabels(enSide side) { return m_SideLabels[side]; }
    // The Patient Orientation of the image as shown ("L\P"): the words of
    // the right and the bottom side labels; empty without both.
    Lettra GetPatientOrientation() const;

    // Release of memory; the image can decode again on the next chain.
    virtual void ReleaseImageData();
    virtual void ReleaseImageDataEx();
    virtual void ReleaseFOVImage();
    virtual void ReleasePixels();
    virtual void ReleaseMetaImages();
    virtual void Reset();
    virtual void ReleaseMapAndDIB();

    // Chains.
    virtual void BuildChain();
    virtual void BuildChainOnMap();
    virtual void BuildFullViewDIB();
    // The full view as the DIB; a view given is handed the new picture
    // (its UpdateImage) before the DIB is made.
    virtual void BuildChainForFullViewToDIB(MetaView* view);
    virtual void BuildChainForIcon(int width, int height);
    virtual void BuildChainForReload();
    virtual void BuildHVRMatrix();
    virtual void BuildHVRMatrixLabelOverlay();
    // The factor of the brief image.
    virtual double BuildBriefImage();
    // The same, handing a view given the new picture as above.
    virtual double BuildChainForBriefImage(MetaView* view);
    // Runs the chain built (with this image as sender).
    void InvokeChain();
    Delegate& GetChain() { return m_Chain; }
    // Decodes the frame when the matrix is missing.
    void EnsureLoaded();
    // The display map, made first when there is none.
    MetaMatrix* GetMap();

    // Sets up the lookup tables of a freshly decoded frame (only when the
    // image has none yet: a window chosen by the user survives releases)
    // and the side labels (once).
    virtual void InitAfterLoad(const DICOMVRSet& set);
    // The measurements stored in the data set (group 6001) joined to the
    // annotations; false without a set.
    virtual bool LoadOverlays(const DICOMVRSet& set);
    // Decodes pixel bytes already in memory (the image owns them from then
    // on; they are freed on failure).
    // The Modality LUT Sequence of the set may become its VOI LUT Sequence.
    bool LoadDicomFile(DICOMVRSet& set, std::uint8_t* bytes, std::uint32_t count);

    // Display state.
    double GetZoom() const { return m_Zoom; }
    void SetZoom(double zoom) { m_Zoom = zoom; }
    bool IsInvert() const { return m_bInvert != 0; }
    bool IsInverse() const { return m_bInverse != 0; }
    bool IsFOVMode() const { return m_bFOVMode != 0; }
    void SetFOVMode(bool on) { m_bFOVMode = on ? 1 : 0; }
    bool IsOverlayFollowsHVR() const { return m_bOverlayFollowsHVR != 0; }
    void SetOverlayFollowsHVR(bool on) { m_bOverlayFollowsHVR = on ? 1 : 0; }
    void ResetViewState();
    // The pan of the view that shows the image, in window pixels.
    POINT GetPan() const { return POINT{m_nPanX, m_nPanY}; }
    void SetPan(int x, int y);
    // How a view takes the image when it attaches it: 16 (and 256, 512,
    // 1024, 2048) fits it to the view, 2 zooms onto the field of view, any
    // other value keeps the stored zoom and pan. A view sets 1 once it has
    // laid the image out.
    int GetDisplayMode() const { return m_nDisplayMode; }
    void SetDisplayMode(int mode) { m_nDisplayMode = mode; }
    // The field of view in image pixels (right and bottom exclusive) and the
    // size in window pixels its DIB is scaled to; a size of 0 x 0 scales by
    // the zoom. The cached field of view is dropped when either changes.
    void SetViewRect(const RECT& rect);
    void SetViewRect(const RECT& rect, SIZE screenSize);
    void ClearViewRect();
    const RECT& GetViewRect() const { return m_ViewRect; }
    SIZE GetViewSize() const { return m_ViewSize; }
    // A new image (caller owns) that holds the displayed field of view as
    // its whole matrix, scaled as shown, with this image's tables and
    // display state: a view that maps it 1:1 shows the same picture and can
    // re-window it quickly. Null when no field of view can be made.
    virtual ImageShow* SetupFOV();
    SIZE GetImageSize() const;
    // The size of the image as shown: the matrix's, or without one the
    // data set's, turned by the orientation history.
    SIZE GetShownImageSize() const;
    double GetPixelSpacingX() const { return m_dSpacingX; }
    double GetPixelSpacingY() const { return m_dSpacingY; }

    // Windows: the adjustable table of both images gets the window and
    // becomes current.
    void SetWindowLevel(int width, int center);
    void SetWindowLevelEx(int width, int center, std::uint32_t flags);
    // Adds the table unless an equal one is there; false without a
    // metaimage or when refused.
    bool AddLUT(DicomLookupTable* table);
    // The automatic window of the samples, computed and added the first
    // time it is asked for; null for colour images or without pixels.
    DicomLookupTable* GetAutomaticWindow();
    // Zoom, pan, invert and the display modes go to the other image, and
    // this image's window: an image without tables of its own first gets a
    // copy of the current one, so the window survives its first decode.
    void CopyDisplayStateTo(ImageShow& other) const;
    // A copy of the decoded matrix, its tables and palette into the other
    // image; nothing when this one holds no pixels or both are the same.
    void CopyMetaImageTo(ImageShow& other) const;

    MetaImage* GetMetaImage() const { return m_MetaImage.get(); }
    MetaImage* GetFOVImage() const { return m_FOVImage.get(); }
    MetaImage* GetBriefImage() const { return m_BriefImage.get(); }
    const DIBHolder& GetDIB() const { return m_DIB; }

    // The displayed image (the full view at 1:1, through the window, the
    // orientation and the inversion) as a secondary capture in explicit VR
    // little endian: patient, study and series are this image's, the SOP
    // instance is new, private and overlay groups stay behind. False, with
    // out emptied, without an image or when nothing can be decoded.
    bool GetCurrentDicomImage(DICOMFile& out);
    // The secondary capture, or the full-view DIB as a bitmap or JPEG file.
    // Each writes beside the target and renames over it, so a failure
    // leaves an existing file as it was; the image data is released again
    // when the image held no DIB before.
    bool SaveAsDicomFile(const char* path);
    bool SaveAsBitmap(const char* path);
    bool SaveAsJPEG(const char* path);

    // Stages.
    void chReloadDicom(const void* sender, DelegateArgs* args);
    void chFullToFOV(const void* sender, DelegateArgs* args);
    void chScaleOptimizeOnFOV(const void* sender, DelegateArgs* args);
    void chScaleOnFOV(const void* sender, DelegateArgs* args);
    void chFOVToMap(const void* sender, DelegateArgs* args);
    void chFullToMap(const void* sender, DelegateArgs* args);
    void chScaleOptimizeOnMap(const void* sender, DelegateArgs* args);
    void chScaleToIcon(const void* sender, DelegateArgs* args);
    void chShow(const void* sender, DelegateArgs* args);
    void chFlipVerticalMatrix(const void* sender, DelegateArgs* args);
    void chFlipHorizontalMatrix(const void* sender, DelegateArgs* args);
    void chRotateMatrix(const void* sender, DelegateArgs* args);
    void chFlipVerticalLabelOverlay(const void* sender, DelegateArgs* args);
    void chFlipHorizontalLabelOverlay(const void* sender, DelegateArgs* args);
    void chRotateLabelOverlay(const void* sender, DelegateArgs* args);

    // The patient-orientation word of a direction (up to three of the
    // letters L/R, P/A, H/F) and the word of the opposite side.
    static Lettra GetOrientationWord(double x, double y, double z);
    static Lettra GetOppositeWord(const Lettra& word);

private:
    using Stage = void (ImageShow::*)(const void*, DelegateArgs*);
    void AddStage(Stage stage, const char* name);
    void RemoveStage(Stage stage);
    void ResetChainState();

    // Loading.
    struct PixelFormat;
    bool LoadFromFile(const char* path);
    bool InitFromDicomImage();
    bool DecodeFrame(DICOMImage& image);
    bool LoadPixels(DICOMVRSet& set, PixelFormat& format, std::uint8_t* bytes, std::uint32_t count);
    void LoadOverlayPlane(const DICOMVRSet& set);
    void TakeModalityLUT(DICOMVRSet& set, PixelFormat& format, std::uint8_t* bytes,
                         std::uint32_t count);
    MetaMatrix* MakeMatrix(PixelFormat& format, std::uint8_t* bytes, std::uint32_t count);
    void ReadPixelSpacing(const DICOMVRSet& set);
    void BuildSideLabels(const DICOMVRSet& set);
    void SetupLookupTables(const DICOMVRSet& set);
    // The rescale of the stored values that the tables expect.
    void ReadTableRescale(const DICOMVRSet& set, float& intercept, float& slope) const;
    bool HasGreyPixels() const;
    // The window on the adjustable table of every image, made current.
    void ApplyWindow(int width, int center, std::uint32_t flags);
    // A linear window over the range of the current VOI LUT, added and made
    // current, for an image whose tables hold nothing to window; null when
    // the current table is no VOI LUT.
    DicomLookupTable* AddWindowOfVOI(MetaImage& image) const;
    // The automatic window of the samples, added to the tables; null when
    // none could be made (or an equal table is there).
    DicomLookupTable* AddAutomaticWindow(float intercept, float slope);

    // Orientation.
    void AppendHVR(char letter);
    void FlipLabelsVertically();
    void FlipLabelsHorizontally();
    void RotateLabels(int quarterTurns);
    void ForEachAnnotation(void (ORoi::*operation)());
    void CloneAnnotationsTo(ImageShow& other, bool selectedOnly, bool select) const;
    void RotateAnnotations(int quarterTurns);
    void AddHVRStages(bool labelsAndOverlays);
    // False, with the fatal line named after the caller and the history
    // emptied, when four letters remain after reduction.
    bool ReduceFullHVR(const char* caller);

    // Chain helpers.
    void MapInto(MetaImage* image);
    void HandMapTo(MetaView* view);
    // The field of view scaled by the zoom (display quality or nearest).
    void ScaleFOV(bool optimize);
    // Pixels that index a palette: only nearest-neighbour scaling keeps
    // them indices of colours the image has.
    bool HasPaletteIndices() const;
    // The full view built and handed to the writer; the image data is
    // released again when no DIB was held before. False when nothing could
    // be decoded.
    template <class Writer> bool WithFullView(Writer write);
    void FillBriefImage();

    std::uint32_t m_State = enReleasePixelsOnRelease | enDeleteMatrixOnRelease;
    Array<Lettra> m_SideLabels[4];
    std::unique_ptr<MetaImage> m_MetaImage;
    MetaView* m_pView = nullptr;
    Delegate m_Chain;
    int m_nInstanceNo;
    DIBHolder m_DIB;
    Corvane m_Holder;
    ORoi* m_pMask = nullptr;
    MetaMatrix* m_Map = nullptr;
    double m_dSpacingX = 0.0;
    double m_dSpacingY = 0.0;
    int m_nSpacingKind = 0;
    std::uint8_t m_bOverlayFollowsHVR = 1;
    std::uint8_t m_bInvert = 0;
    std::uint8_t m_bInverse = 0;
    double m_Zoom = -1.0;
    int m_nPanX = 0;
    int m_nPanY = 0;
    std::uint8_t m_bFOVMode = 1;
    int m_nDisplayMode1 = 1;
    int m_nDisplayMode2 = 1;
    Array<RoiPtr> m_Rois;
    int m_nDisplayMode = 16;
    RECT m_ViewRect = {0, 0, 0, 0};
    SIZE m_ViewSize = {0, 0};
    std::unique_ptr<MetaImage> m_FOVImage;
    std::unique_ptr<MetaImage> m_BriefImage;
    char m_HVR[HVRSize] = {};
    int m_nFrameIndex = 0;
    int m_nNbOfFrames = 0;
    int m_nCompression = 0;
    std::uint8_t m_bSelected = 0;
    std::uint8_t m_bSortAllowed = 0;
    std::uint32_t m_nIconFlags = 0;
    // Decoding failed: the reload chain stays away until the image is
    // attached or reset again.
    bool m_bLoadFailed = false;
    // The modality LUT was applied to the pixels: no rescale follows.
    bool m_bModalityApplied = false;
    // Side labels and stored annotations are read with the first decode
    // only; later decodes turn the matrix alone.
    bool m_bAnnotationsLoaded = false;
};
