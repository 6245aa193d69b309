// The rendering chain of ImageShow: building the chains and the stages that
// turn the matrix into the display map and the map into the DIB.
#include "ImageShow.h"

#include "ImageShowConfig.h"
#include "MetaView.h"
#include "QuillonLog.h"
#include "VeltaroLog.h"

#include <memory>

namespace
{

// Timing marks of the DICOM library around the full-view and brief builds.
constexpr int FullViewStartMark = 1900;
constexpr int FullViewEndMark = 1905;
constexpr int BriefStartMark = 1908;
constexpr int BriefEndMark = 1909;

bool IsEmptyRect(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// A scale to the size the matrix has already (a zoom of 1) is no work.
void ScaleUnlessSameSize(MetaMatrix& matrix, unsigned width, unsigned height, bool optimize)
{
    if (width == static_cast<unsigned>(matrix.GetWidth()) &&
        height == static_cast<unsigned>(matrix.GetHeight()))
    {
        return;
    }
    if (optimize)
    {
        matrix.ScaleOptimize(width, height);
    }
    else
    {
        matrix.Scale(width, height);
    }
}

} // namespace

void ImageShow::AddStage(Stage stage, const char* name)
{
    m_Chain += MakeHandler(this, stage, name);
}

void ImageShow::RemoveStage(Stage stage)
{
    m_Chain.Remove(MakeHandler(this, stage, ""));
}

void ImageShow::InvokeChain()
{
    m_Chain.Invoke(this, nullptr);
}

void ImageShow::BuildChainForReload()
{
    if (m_MetaImage != nullptr && m_MetaImage->HasPixels())
    {
        return;
    }
    if (m_bLoadFailed)
    {
        // The failure was logged when it happened; the file is not read
        // again at every paint.
        return;
    }
    AddStage(&ImageShow::chReloadDicom, "ImageShow::chReloadDicom");
    if (m_bOverlayFollowsHVR != 0 && !m_bAnnotationsLoaded)
    {
        BuildHVRMatrixLabelOverlay();
    }
    else
    {
        BuildHVRMatrix();
    }
}

void ImageShow::BuildChain()
{
    m_Chain.Clear();
    BuildChainForReload();
    if (m_bFOVMode != 0)
    {
        if (m_FOVImage == nullptr)
        {
            AddStage(&ImageShow::chFullToFOV, "ImageShow::chFullToFOV");
            AddStage(&ImageShow::chScaleOptimizeOnFOV, "ImageShow::chScaleOptimizeOnFOV");
        }
        AddStage(&ImageShow::chFOVToMap, "ImageShow::chFOVToMap");
    }
    else
    {
        AddStage(&ImageShow::chFullToMap, "ImageShow::chFullToMap");
    }
    AddStage(&ImageShow::chShow, "ImageShow::chShow");
}

void ImageShow::BuildChainOnMap()
{
    m_Chain.Clear();
    BuildChainForReload();
    AddStage(&ImageShow::chFullToMap, "ImageShow::chFullToMap");
    if (m_bFOVMode != 0)
    {
        AddStage(&ImageShow::chScaleOptimizeOnMap, "ImageShow::chScaleOptimizeOnMap");
    }
    AddStage(&ImageShow::chShow, "ImageShow::chShow");
}

void ImageShow::EnsureLoaded()
{
    if (m_MetaImage->HasPixels())
    {
        return;
    }
    m_Chain.Clear();
    BuildChainForReload();
    InvokeChain();
}

void ImageShow::BuildChainForIcon(int width, int height)
{
    m_Chain.Clear();
    BuildChainForReload();
    AddStage(&ImageShow::chScaleToIcon, "ImageShow::chScaleToIcon");
    AddStage(&ImageShow::chFullToMap, "ImageShow::chFullToMap");
    AddStage(&ImageShow::chShow, "ImageShow::chShow");
    // The icon size travels in the pointer word and the further word.
    PointerDelegateArgs size(reinterpret_cast<void*>(static_cast<std::intptr_t>(width)), height);
    m_Chain.Invoke(this, &size);
    m_Chain.Clear();
    ResetViewState();
}

void ImageShow::BuildFullViewDIB()
{
    BuildChainForFullViewToDIB(nullptr);
}

void ImageShow::BuildChainForFullViewToDIB(MetaView* view)
{
    QueryPerformance(FullViewStartMark);
    m_Chain.Clear();
    BuildChainForReload();
    AddStage(&ImageShow::chFullToMap, "ImageShow::chFullToMap");
    m_DIB.Release();
    InvokeChain();
    HandMapTo(view);
    chShow(this, nullptr);
    quillon::_debug("Leave ImageShow::BuildChainForFullViewToDIB, DIB : %dX%d", m_DIB.GetWidth(),
                    m_DIB.GetHeight());
    BuildChain();
    QueryPerformance(FullViewEndMark);
}

double ImageShow::BuildBriefImage()
{
    return BuildChainForBriefImage(nullptr);
}

double ImageShow::BuildChainForBriefImage(MetaView* view)
{
    QueryPerformance(BriefStartMark);
    m_Chain.Clear();
    BuildChainForReload();
    InvokeChain();
    m_DIB.Release();
    if (m_BriefImage == nullptr)
    {
        m_BriefImage = std::make_unique<MetaImage>();
    }
    FillBriefImage();
    HandMapTo(view);
    chShow(this, nullptr);
    quillon::_debug("Leave ImageShow::BuildChainForBriefImage, DIB : %dX%d", m_DIB.GetWidth(),
                    m_DIB.GetHeight());
    BuildChain();
    QueryPerformance(BriefEndMark);
    return m_BriefImage->GetFactor();
}

// The brief image takes a reduced copy of the matrix whenever it has none
// (also when it was made before the frame was decoded), the current window
// of the full image, and is mapped into the display map.
void ImageShow::FillBriefImage()
{
    const MetaMatrix* full = m_MetaImage->GetMatrix();
    if (!m_BriefImage->HasPixels() && m_MetaImage->HasPixels())
    {
        m_BriefImage->SetMatrix(full->Clone());
        m_BriefImage->SetFactor(1.0);
        const int limit = ImageShowConfig::Get().nMaxSizeOfBriefImage;
        const int width = full->GetWidth();
        const int height = full->GetHeight();
        if (limit > 0 && (width > limit || height > limit))
        {
            const double a = double(width) / limit;
            const double b = double(height) / limit;
            const bool taller = a < b;
            const double factor = taller ? b : a;
            const int newWidth = taller ? static_cast<int>(width / b) : limit;
            const int newHeight = taller ? limit : static_cast<int>(height / a);
            m_BriefImage->GetMatrix()->Scale(static_cast<unsigned>(newWidth > 0 ? newWidth : 1),
                                             static_cast<unsigned>(newHeight > 0 ? newHeight : 1));
            m_BriefImage->SetFactor(factor);
        }
    }
    if (!m_BriefImage->HasPixels())
    {
        return;
    }
    m_BriefImage->CopyLUTsFrom(*m_MetaImage);
    delete m_Map;
    m_Map = m_BriefImage->Map(m_bInvert != m_bInverse);
}

void ImageShow::HandMapTo(MetaView* view)
{
    if (view != nullptr && m_Map != nullptr)
    {
        view->UpdateImage();
    }
}

MetaMatrix* ImageShow::GetMap()
{
    if (m_Map == nullptr)
    {
        chFullToMap(this, nullptr);
    }
    return m_Map;
}

void ImageShow::MapInto(MetaImage* image)
{
    delete m_Map;
    m_Map = image != nullptr ? image->Map(m_bInvert != m_bInverse) : nullptr;
}

void ImageShow::chFullToFOV(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chFullToFOV);
    if (IsEmptyRect(m_ViewRect) || !m_MetaImage->HasPixels())
    {
        return;
    }
    const CRect part(m_ViewRect);
    MetaMatrix* cut = m_MetaImage->GetMatrix()->GetImagePart(&part);
    if (cut == nullptr)
    {
        return;
    }
    if (m_FOVImage == nullptr)
    {
        m_FOVImage = std::make_unique<MetaImage>();
    }
    m_FOVImage->SetMatrix(cut);
    m_FOVImage->CopyLUTsFrom(*m_MetaImage);
    const int width = m_MetaImage->GetWindowWidth();
    const int center = m_MetaImage->GetWindowCenter();
    if (width >= 1 && m_FOVImage->GetCurrentLUT() != nullptr)
    {
        m_FOVImage->GetCurrentLUT()->SetWindowLevel(width, center);
    }
}

void ImageShow::chScaleOptimizeOnFOV(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chScaleOptimizeOnFOV);
    ScaleFOV(true);
}

void ImageShow::chScaleOnFOV(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chScaleOnFOV);
    ScaleFOV(false);
}

void ImageShow::ScaleFOV(bool optimize)
{
    if (m_FOVImage == nullptr || !m_FOVImage->HasPixels() || m_Zoom <= 0.0)
    {
        return;
    }
    const MetaMatrix* matrix = m_FOVImage->GetMatrix();
    // The view that set the field of view knows the window size its edges
    // map to; rounding each edge rather than the width keeps the picture
    // where the view's mapping puts it.
    const bool sized = m_ViewSize.cx > 0 && m_ViewSize.cy > 0;
    const double width = sized ? m_ViewSize.cx : matrix->GetWidth() * m_Zoom + 0.5;
    const double height = sized ? m_ViewSize.cy : matrix->GetHeight() * m_Zoom + 0.5;
    // Less than a pixel shows nothing.
    if (width < 1.0 || height < 1.0)
    {
        m_FOVImage.reset();
        return;
    }
    ScaleUnlessSameSize(*m_FOVImage->GetMatrix(), static_cast<unsigned>(width),
                        static_cast<unsigned>(height), optimize && !HasPaletteIndices());
}

bool ImageShow::HasPaletteIndices() const
{
    const ColorLookupTable* palette = m_MetaImage->GetColorLUT();
    return palette != nullptr && palette->IsValid();
}

void ImageShow::chFOVToMap(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chFOVToMap);
    MapInto(m_FOVImage.get());
}

void ImageShow::chFullToMap(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chFullToMap);
    if (m_MetaImage != nullptr)
    {
        MapInto(m_MetaImage.get());
    }
}

void ImageShow::chScaleOptimizeOnMap(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chScaleOptimizeOnMap);
    if (m_Map != nullptr && m_Zoom > 0.0)
    {
        ScaleUnlessSameSize(*m_Map, static_cast<unsigned>(m_Map->GetWidth() * m_Zoom),
                            static_cast<unsigned>(m_Map->GetHeight() * m_Zoom),
                            !HasPaletteIndices());
    }
}

void ImageShow::chScaleToIcon(const void*, DelegateArgs* args)
{
    RemoveStage(&ImageShow::chScaleToIcon);
    auto* size = dynamic_cast<PointerDelegateArgs*>(args);
    MetaMatrix* matrix = m_MetaImage->GetMatrix();
    if (size == nullptr || !m_MetaImage->HasPixels())
    {
        return;
    }
    const double width = static_cast<int>(reinterpret_cast<std::intptr_t>(size->m_pPointer));
    const double height = size->m_nWord;
    const double columns = matrix->GetWidth();
    const double rows = matrix->GetHeight();
    // No icon side and no matrix side may be 0: nothing to divide by.
    if (width < 1.0 || height < 1.0 || columns < 1.0 || rows < 1.0)
    {
        return;
    }
    int newWidth = 0;
    int newHeight = 0;
    if (columns / width < rows / height)
    {
        newWidth = static_cast<int>(columns / (rows / height));
        newHeight = static_cast<int>(height);
    }
    else
    {
        newWidth = static_cast<int>(width);
        newHeight = static_cast<int>(rows / (columns / width));
    }
    matrix->Scale(static_cast<unsigned>(newWidth > 0 ? newWidth : 1),
                  static_cast<unsigned>(newHeight > 0 ? newHeight : 1));
}

void ImageShow::chShow(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chShow);
    m_DIB.Release();
    if (m_Map == nullptr)
    {
        return;
    }
    ColorLookupTable* palette = m_MetaImage->GetColorLUT();
    if (palette != nullptr && palette->IsValid() && m_Map->GetMatrixType() == MetaMatrix::enMatrix8)
    {
        RGBQUAD colours[ColorLookupTable::PaletteSize];
        std::copy(palette->GetPalette(), palette->GetPalette() + ColorLookupTable::PaletteSize,
                  colours);
        if (m_bInvert != m_bInverse)
        {
            for (RGBQUAD& colour : colours)
            {
                colour = {BYTE(255 - colour.rgbBlue), BYTE(255 - colour.rgbGreen),
                          BYTE(255 - colour.rgbRed), 0};
            }
        }
        m_DIB.AttachDIB(m_Map->CreateDIB(colours));
    }
    else
    {
        m_DIB.AttachDIB(m_Map->CreateDIB());
    }
    delete m_Map;
    m_Map = nullptr;
}

ImageShow* ImageShow::SetupFOV()
{
    if (m_FOVImage == nullptr)
    {
        m_Chain.Clear();
        BuildChainForReload();
        AddStage(&ImageShow::chFullToFOV, "ImageShow::chFullToFOV");
        AddStage(&ImageShow::chScaleOptimizeOnFOV, "ImageShow::chScaleOptimizeOnFOV");
        InvokeChain();
        BuildChain();
    }
    if (m_FOVImage == nullptr || !m_FOVImage->HasPixels())
    {
        return nullptr;
    }
    auto* copy = new ImageShow(*this);
    copy->m_MetaImage->SetMatrix(m_FOVImage->GetMatrix()->Clone());
    copy->m_MetaImage->CopyLUTsFrom(*m_FOVImage);
    // The copy has nothing behind its matrix to decode again, and nothing
    // left to load.
    copy->m_State |= enKeepPixelData;
    copy->m_bAnnotationsLoaded = true;
    copy->m_bFOVMode = 0;
    copy->m_Zoom = 1.0;
    copy->ClearViewRect();
    copy->BuildChain();
    return copy;
}
