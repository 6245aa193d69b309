// The lookup tables of ImageShow after a frame was decoded: rescale, the
// data set's windows and VOI LUT, the sigmoid VOI function, the automatic
// window of projection radiographs, and the window the user sets later;
// with them the side labels and the pixel spacing.
#include "ImageShow.h"

#include "DICOMImage.h"
#include "DICOMVRSet.h"
#include "DecimalList.h"
#include "ImageShowConfig.h"
#include "LookupTableSupport.h"
#include "MetaMatrix16.h"
#include "QuillonLog.h"
#include "SigmoidVOILookupTable.h"
#include "TDWLookupTable.h"
#include "VOILookupTable.h"
#include "WinModule.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

// The modalities whose images get the automatic window: projection
// radiographs, whose windows in the data set are often missing or poor.
constexpr const char* AutomaticModalities[] = {"CR", "DX", "MG", "RF"};

// Fractions the automatic window leaves out: the border of the frame, and
// the darkest and brightest samples.
constexpr float AutoBorder = 0.01f;
constexpr float AutoLow = 0.01f;
constexpr float AutoHigh = 0.01f;

bool IsAutomaticModality(const Lettra& modality)
{
    return std::any_of(std::begin(AutomaticModalities), std::end(AutomaticModalities),
                       [&](const char* name) { return modality.CompareNoCase(name) == 0; });
}

// The smallest and largest sample of a grey matrix.
bool FindSampleRange(const MetaMatrix& matrix, int& min, int& max)
{
    const int count = matrix.GetWidth() * matrix.GetHeight();
    if (count <= 0 || matrix.GetPixelData() == nullptr)
    {
        return false;
    }
    const MetaMatrixData& data = *matrix.GetData();
    min = INT32_MAX;
    max = INT32_MIN;
    for (int i = 0; i < count; ++i)
    {
        int value = 0;
        if (data.nBitsAllocated > 8)
        {
            std::uint16_t word = 0;
            std::memcpy(&word, matrix.GetPixelData() + 2 * i, 2);
            value = data.nSigned != 0 ? static_cast<std::int16_t>(word) : word;
        }
        else
        {
            value = static_cast<std::uint8_t>(matrix.GetPixelData()[i]);
        }
        min = std::min(min, value);
        max = std::max(max, value);
    }
    return true;
}

// A window of the data set as the adjustable window table the list keeps.
DicomLookupTable* MakeWindow(float intercept, float slope, int width, int center)
{
    TDWLookupTable window;
    window.Init(intercept, slope, width, center);
    return window.Clone();
}

// Calls one estimator entry of the automatic window library on the samples.
template <typename Sample>
bool CallEstimator(HMODULE library, const char* name, const MetaMatrix& matrix, int& width,
                   int& center)
{
    using Entry = int (*)(float, float, float, const Sample*, int, int, int, int*, int*);
    const auto entry = CastFarProc<Entry>(GetProcAddress(library, name));
    const MetaMatrixData& data = *matrix.GetData();
    return entry != nullptr &&
           entry(AutoBorder, AutoLow, AutoHigh,
                 reinterpret_cast<const Sample*>(matrix.GetPixelData()), data.nColumns, data.nRows,
                 data.nBitsStored, &width, &center) != 0;
}

// The window Wexalo.dll estimates for the samples, as a sigmoid over the
// stored values; false when the library or its entry is missing or fails.
bool EstimateSigmoidWindow(const MetaMatrix& matrix, int& width, int& center)
{
    HMODULE library = LoadLibraryA("Wexalo.dll");
    if (library == nullptr)
    {
        return false;
    }
    const MetaMatrixData& data = *matrix.GetData();
    bool estimated = false;
    if (data.nBitsAllocated <= 8)
    {
        estimated =
            CallEstimator<unsigned char>(library, "AutoWindowLevel_UINT8", matrix, width, center);
    }
    else if (data.nSigned != 0)
    {
        estimated = CallEstimator<short>(library, "AutoWindowLevel_INT16", matrix, width, center);
    }
    else
    {
        estimated =
            CallEstimator<unsigned short>(library, "AutoWindowLevel_UINT16", matrix, width, center);
    }
    FreeLibrary(library);
    return estimated && width >= 1;
}

} // namespace

void ImageShow::InitAfterLoad(const DICOMVRSet& set)
{
    ReadPixelSpacing(set);
    if (m_MetaImage->GetLUTs().GetCount() == 0)
    {
        SetupLookupTables(set);
    }
    if (!m_bAnnotationsLoaded)
    {
        BuildSideLabels(set);
    }
}

void ImageShow::ReadPixelSpacing(const DICOMVRSet& set)
{
    const std::vector<double> spacing = ReadDecimalList(set.GetLettra(0x0028, 0x0030));
    if (spacing.size() >= 2 && spacing[0] > 0.0 && spacing[1] > 0.0)
    {
        // Row spacing first: the distance between rows is the vertical one.
        m_dSpacingY = spacing[0];
        m_dSpacingX = spacing[1];
        m_nSpacingKind = 1;
    }
}

void ImageShow::BuildSideLabels(const DICOMVRSet& set)
{
    for (Array<Lettra>& list : m_SideLabels)
    {
        list.RemoveAll();
    }
    const std::vector<double> cosines = ReadDecimalList(set.GetLettra(0x0020, 0x0037));
    if (ImageShowConfig::Get().nShowPatientOrientationLabel == 0 || cosines.size() < 6)
    {
        return;
    }
    // Rows run from left to right, columns from top to bottom.
    const Lettra right = GetOrientationWord(cosines[0], cosines[1], cosines[2]);
    const Lettra bottom = GetOrientationWord(cosines[3], cosines[4], cosines[5]);
    m_SideLabels[enRight].AddTail(right);
    m_SideLabels[enLeft].AddTail(GetOppositeWord(right));
    m_SideLabels[enBottom].AddTail(bottom);
    m_SideLabels[enTop].AddTail(GetOppositeWord(bottom));
}

// The tables of a grey frame, and the current one: the sigmoid function of
// the data set, else its first window, else its VOI LUT, else the automatic
// window of projection radiographs, else the full range of the samples.
void ImageShow::SetupLookupTables(const DICOMVRSet& set)
{
    if (!HasGreyPixels())
    {
        return;
    }
    const MetaMatrix* matrix = m_MetaImage->GetMatrix();
    LUTList& tables = m_MetaImage->GetLUTs();
    float intercept = 0.0f;
    float slope = 1.0f;
    ReadTableRescale(set, intercept, slope);
    const std::vector<double> centers = ReadDecimalList(set.GetLettra(0x0028, 0x1050));
    const std::vector<double> widths = ReadDecimalList(set.GetLettra(0x0028, 0x1051));
    DicomLookupTable* chosen = nullptr;
    for (std::size_t i = 0; i < std::min(centers.size(), widths.size()); ++i)
    {
        const int width = TruncateToInt(widths[i]);
        if (width < 1)
        {
            continue;
        }
        DicomLookupTable* window = MakeWindow(intercept, slope, width, TruncateToInt(centers[i]));
        if (tables.Add(window) && chosen == nullptr)
        {
            chosen = window;
        }
    }
    if (set.GetLettra(0x0028, 0x1056).Trim().CompareNoCase("SIGMOID") == 0 && chosen != nullptr)
    {
        // The data set's window is in rescaled units, the sigmoid's in
        // stored values.
        auto* sigmoid = new SigmoidVOILookupTable;
        sigmoid->SetWindowLevel(TruncateToInt(chosen->GetWindowWidth() / slope),
                                TruncateToInt((chosen->GetWindowCenter() - intercept) / slope));
        chosen = tables.Add(sigmoid) ? sigmoid : chosen;
    }
    auto voi = std::make_unique<quillon::VOILookupTable>();
    if (voi->InitFromDataSet(set))
    {
        quillon::VOILookupTable* added = voi.release();
        if (tables.Add(added) && chosen == nullptr)
        {
            chosen = added;
        }
    }
    if (IsAutomaticModality(set.GetLettra(0x0008, 0x0060).Trim()))
    {
        DicomLookupTable* automatic = AddAutomaticWindow(intercept, slope);
        chosen = chosen != nullptr ? chosen : automatic;
    }
    int min = 0;
    int max = 0;
    if (chosen == nullptr && FindSampleRange(*matrix, min, max))
    {
        // The window spans the samples: the smallest shows black, the
        // largest white, and a frame of one value shows black.
        const double low =
            std::min(min * double(slope) + intercept, max * double(slope) + intercept);
        const double high =
            std::max(min * double(slope) + intercept, max * double(slope) + intercept);
        // In doubles: a slope as large as a file may give spans more than an
        // int holds.
        const int width = TruncateToInt(std::floor(high - low) + 1.0);
        const int center = width == 1 ? TruncateToInt(std::floor(low)) + 1
                                      : TruncateToInt(std::floor(low + width / 2.0));
        chosen = MakeWindow(intercept, slope, width, center);
        tables.Add(chosen);
    }
    tables.SetCurrent(chosen);
}

bool ImageShow::HasGreyPixels() const
{
    const MetaMatrix* matrix = m_MetaImage->GetMatrix();
    return matrix != nullptr && m_MetaImage->HasPixels() &&
           matrix->GetMatrixType() != MetaMatrix::enMatrixRGB &&
           m_MetaImage->GetColorLUT() == nullptr;
}

void ImageShow::ReadTableRescale(const DICOMVRSet& set, float& intercept, float& slope) const
{
    intercept = m_bModalityApplied ? 0.0f : lut::ReadRescale(set, 0x1052, 0.0f);
    slope = m_bModalityApplied ? 1.0f : lut::UsableSlope(lut::ReadRescale(set, 0x1053, 1.0f));
}

DicomLookupTable* ImageShow::AddWindowOfVOI(MetaImage& image) const
{
    LUTList& tables = image.GetLUTs();
    const DicomLookupTable* voi = tables.GetCurrent();
    if (voi == nullptr || !voi->HasType(DicomLookupTable::enVOIDerived) ||
        voi->GetWindowWidth() < 1)
    {
        return nullptr;
    }
    float intercept = 0.0f;
    float slope = 1.0f;
    if (const DICOMImage* set = m_Holder.GetDicomFile())
    {
        ReadTableRescale(*set, intercept, slope);
    }
    DicomLookupTable* window =
        MakeWindow(intercept, slope, voi->GetWindowWidth(), voi->GetWindowCenter());
    if (!tables.Add(window))
    {
        return nullptr;
    }
    tables.SetCurrent(window);
    return window;
}

DicomLookupTable* ImageShow::GetAutomaticWindow()
{
    if (DicomLookupTable* found = m_MetaImage->GetLUTs().FindByType(DicomLookupTable::enAutoWindow))
    {
        return found;
    }
    const DICOMImage* set = m_Holder.GetDicomFile();
    if (set == nullptr || !HasGreyPixels())
    {
        return nullptr;
    }
    float intercept = 0.0f;
    float slope = 1.0f;
    ReadTableRescale(*set, intercept, slope);
    return AddAutomaticWindow(intercept, slope);
}

DicomLookupTable* ImageShow::AddAutomaticWindow(float intercept, float slope)
{
    const MetaMatrix& matrix = *m_MetaImage->GetMatrix();
    int width = 0;
    int center = 0;
    DicomLookupTable* automatic = nullptr;
    if (EstimateSigmoidWindow(matrix, width, center))
    {
        auto* sigmoid = new SigmoidVOILookupTable;
        sigmoid->SetWindowLevel(width, center);
        sigmoid->SetDescription("Auto, Sigmoid");
        automatic = sigmoid;
    }
    else if (matrix.AutoWindowLevel(&width, &center) && width >= 1)
    {
        const int valueWidth = TruncateToInt(width * double(slope));
        const int valueCenter = TruncateToInt(center * double(slope) + intercept);
        automatic = MakeWindow(intercept, slope, valueWidth, valueCenter);
        Lettra description;
        description.Format("Auto, W:%d, L:%d", valueWidth, valueCenter);
        automatic->SetDescription(description);
    }
    if (automatic == nullptr)
    {
        return nullptr;
    }
    automatic->AddType(DicomLookupTable::enOwnerMark | DicomLookupTable::enAutoWindow);
    return m_MetaImage->GetLUTs().Add(automatic) ? automatic : nullptr;
}

void ImageShow::SetWindowLevel(int width, int center)
{
    ApplyWindow(width, center, 0);
}

void ImageShow::SetWindowLevelEx(int width, int center, std::uint32_t flags)
{
    SetModified(true);
    ApplyWindow(width, center, flags);
}

void ImageShow::ApplyWindow(int width, int center, std::uint32_t flags)
{
    for (MetaImage* image : {m_MetaImage.get(), m_FOVImage.get(), m_BriefImage.get()})
    {
        if (image == nullptr)
        {
            continue;
        }
        DicomLookupTable* table = image->GetLUTs().GetAdjustableLUT();
        if (table == nullptr)
        {
            table = AddWindowOfVOI(*image);
        }
        if (table != nullptr)
        {
            table->SetWindowLevel(width, center);
            table->AddType(flags);
        }
    }
}

bool ImageShow::AddLUT(DicomLookupTable* table)
{
    if (m_MetaImage == nullptr || table == nullptr)
    {
        delete table;
        return false;
    }
    return m_MetaImage->GetLUTs().Add(table);
}

void ImageShow::CopyDisplayStateTo(ImageShow& other) const
{
    if (&other == this)
    {
        return;
    }
    other.m_Zoom = m_Zoom;
    other.m_nPanX = m_nPanX;
    other.m_nPanY = m_nPanY;
    other.m_bInvert = m_bInvert;
    other.m_nDisplayMode = m_nDisplayMode;
    other.m_nDisplayMode1 = m_nDisplayMode1;
    const DicomLookupTable* current = m_MetaImage->GetCurrentLUT();
    if (current == nullptr)
    {
        return;
    }
    if (other.m_MetaImage->GetCurrentLUT() == nullptr)
    {
        other.AddLUT(current->Clone());
    }
    other.SetWindowLevel(m_MetaImage->GetWindowWidth(), m_MetaImage->GetWindowCenter());
}
