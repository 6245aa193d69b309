#include "DicomFileConvert.h"

#include "Corvane.h"
#include "ImageShow.h"
#include "QuillonLog.h"

using quillon::_error;

namespace
{

using Save = bool (ImageShow::*)(const char* path);

bool ConvertDicomFile(const char* dicomPath, const char* outputPath, Save save)
{
    if (dicomPath == nullptr || outputPath == nullptr)
    {
        return false;
    }
    Corvane holder;
    holder.LoadDicomFile(dicomPath);
    if (holder.IsEmpty())
    {
        _error("Leave DicomFile2File, cannot load <%s>", dicomPath);
        return false;
    }
    ImageShow show;
    show.AttachCorvane(holder, 0);
    return (show.*save)(outputPath);
}

} // namespace

bool DicomFile2BitmapFile(const char* dicomPath, const char* outputPath)
{
    return ConvertDicomFile(dicomPath, outputPath, &ImageShow::SaveAsBitmap);
}

bool DicomFile2JPEGFile(const char* dicomPath, const char* outputPath)
{
    return ConvertDicomFile(dicomPath, outputPath, &ImageShow::SaveAsJPEG);
}
