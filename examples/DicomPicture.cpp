#include "DicomPicture.h"

#include "DICOMImage.h"
#include "ImageProcess.h"
#include "MetaMatrix8.h"
#include "MetaMatrixRGB.h"
#include "RealImage.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <strings.h>

namespace
{
bool IsPhotometric(const ImageProcess& process, const char* name)
{
    return strcasecmp(process.GetPhotometricInterpretation(), name) == 0;
}

// Whatever the photometric interpretation says, the levels are one byte a
// pixel; anything else is no picture of the frame's size.
std::unique_ptr<MetaMatrix> MakeGreyMatrix(ImageProcess& process, std::string& error)
{
    if (process.Remap() != 1)
    {
        error = "the file holds no image the viewer can show";
        return nullptr;
    }
    const int rows = process.GetRows();
    const int columns = process.GetColumns();
    if (process.m_nRawPixelLength != std::size_t(rows) * std::size_t(columns))
    {
        error = "the image's levels do not fill its rows and columns";
        return nullptr;
    }
    auto matrix = std::make_unique<MetaMatrix8>();
    // The levels move to the matrix, which frees them.
    matrix->Attach(process.Detach(), 8, 8, 7, rows, columns, 0, 255, 0, 1);
    return matrix;
}

// Colour samples as the real image holds them: R, G, B triples, or palette
// indices looked up in its palette.
std::unique_ptr<MetaMatrix> MakeColourMatrix(ImageProcess& process, std::string& error)
{
    const std::unique_ptr<RealImage> image(process.CreateRealImage());
    const bool bPalette = IsPhotometric(process, "PALETTE COLOR");
    const bool bTriples = dynamic_cast<RealImageRGB*>(image.get()) != nullptr;
    if (image == nullptr || (!bPalette && !bTriples) || (bPalette && image->GetDepth() != 8))
    {
        error = "the file holds no colour image of 8-bit samples";
        return nullptr;
    }
    const int rows = image->GetHeight();
    const int columns = image->GetWidth();
    const std::size_t pixels = std::size_t(rows) * std::size_t(columns);
    auto* samples = new (std::nothrow) std::uint8_t[pixels * 3];
    if (samples == nullptr)
    {
        error = "no memory for the picture";
        return nullptr;
    }
    const auto* stored = static_cast<const std::uint8_t*>(image->GetImage());
    if (bTriples)
        std::memcpy(samples, stored, pixels * 3);
    for (std::size_t i = 0; bPalette && i < pixels; ++i)
    {
        const RGBQUAD colour = image->GetPalette()[stored[i]];
        samples[3 * i] = colour.rgbRed;
        samples[3 * i + 1] = colour.rgbGreen;
        samples[3 * i + 2] = colour.rgbBlue;
    }
    auto matrix = std::make_unique<MetaMatrixRGB>();
    matrix->Attach(samples, 8, 8, 7, rows, columns, 0, 255, 0, 3);
    return matrix;
}

// The process says what the stored frame holds; its display levels are
// grey ones, so colour frames are taken from its real image instead.
std::unique_ptr<MetaMatrix> MakeMatrix(ImageProcess& process, std::string& error)
{
    const bool bColour = IsPhotometric(process, "RGB") || IsPhotometric(process, "PALETTE COLOR") ||
                         strncasecmp(process.GetPhotometricInterpretation(), "YBR_", 4) == 0;
    return bColour ? MakeColourMatrix(process, error) : MakeGreyMatrix(process, error);
}
} // namespace

HDIB MakeDicomPicture(const char* pszPath, std::string& error)
{
    DICOMImage image;
    if (pszPath == nullptr || image.ReadFile(pszPath) == 0)
    {
        error = std::string("cannot read the DICOM file ") + (pszPath != nullptr ? pszPath : "");
        return nullptr;
    }
    ImageProcess process(image, 0);
    const std::unique_ptr<MetaMatrix> matrix = MakeMatrix(process, error);
    if (matrix == nullptr)
        return nullptr;
    if (matrix->IsEmpty())
    {
        error = "the image has no pixels";
        return nullptr;
    }
    auto* dib = static_cast<HDIB>(matrix->CreateDIB());
    if (dib == nullptr)
        error = "no memory for the picture";
    return dib;
}
