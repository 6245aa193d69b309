#include "DicomPicture.h"

#include "DICOMImage.h"
#include "ImageProcess.h"
#include "MetaMatrix8.h"
#include "MetaMatrixRGB.h"

#include <memory>

namespace
{
std::unique_ptr<MetaMatrix> MakeMatrix(ImageProcess& process)
{
    const int rows = process.GetRows();
    const int columns = process.GetColumns();
    const bool bColour = process.IsColour() != 0;
    std::unique_ptr<MetaMatrix> matrix;
    if (bColour)
        matrix = std::make_unique<MetaMatrixRGB>();
    else
        matrix = std::make_unique<MetaMatrix8>();
    // The levels move to the matrix, which frees them.
    void* levels = process.Detach();
    matrix->Attach(levels, 8, 8, 7, rows, columns, 0, 255, 0, bColour ? 3 : 1);
    return matrix;
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
    if (process.Remap() != 1)
    {
        error = "the file holds no image the viewer can show";
        return nullptr;
    }
    const std::unique_ptr<MetaMatrix> matrix = MakeMatrix(process);
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
