#include "LookupTableNames.h"

#include "DicomLookupTable.h"
#include "ImageShow.h"
#include "MetaImage.h"

CString DescribeLookupTables(const ImageShow* pShow)
{
    const MetaImage* pImage = pShow != nullptr ? pShow->GetMetaImage() : nullptr;
    CString strText;
    if (pImage == nullptr)
        return strText;
    const LUTList& tables = pImage->GetLUTs();
    for (int i = 0; i < tables.GetCount(); ++i)
    {
        if (i > 0)
            strText += "|";
        strText += static_cast<const char*>(tables.GetAt(i)->GetDescription());
    }
    return strText;
}
