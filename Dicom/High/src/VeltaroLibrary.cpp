#include "VeltaroLibrary.h"

#include "DataDictionary.h"
#include "FileLog.h"
#include "UID.h"
#include "VR.h"
#include "VRCode.h"
#include "VeltaroLog.h"
#include "WinClock.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

DICOMDataSet DCMHeader;
DICOMDataSet DCMDXTemplate;

namespace
{

// Four lines, each ended by CR LF; the build supplies its date and time.
constexpr const char* BannerText = "Veltaro 2000 (Intel X86) \r\n"
                                   "Built " __DATE__ " " __TIME__ "\r\n"
                                   "Copyright (C) TavuQelm. All rights reserved.\r\n"
                                   "Standard Edition on Windows NT/2000/XP/2003/2008/Windows 7\r\n";

constexpr std::size_t ApplicationTitleSize = 16;

struct Tag
{
    std::uint16_t group;
    std::uint16_t element;
};

// The tags an icon image keeps of its image.
constexpr Tag IconTags[] = {
    {0x0008, 0x0012}, {0x0008, 0x0013}, {0x0008, 0x0016}, {0x0008, 0x0018}, {0x0008, 0x0020},
    {0x0008, 0x0021}, {0x0008, 0x0023}, {0x0008, 0x0030}, {0x0008, 0x0031}, {0x0008, 0x0033},
    {0x0008, 0x0050}, {0x0008, 0x0060}, {0x0008, 0x0070}, {0x0008, 0x1070}, {0x0008, 0x1090},
    {0x0010, 0x0010}, {0x0010, 0x0020}, {0x0010, 0x0030}, {0x0010, 0x0040}, {0x0010, 0x1010},
    {0x0018, 0x0015}, {0x0018, 0x0060}, {0x0018, 0x1150}, {0x0018, 0x1151}, {0x0018, 0x1152},
    {0x0020, 0x000D}, {0x0020, 0x000E}, {0x0020, 0x0010}, {0x0020, 0x0011}, {0x0020, 0x0012},
    {0x0020, 0x0013}, {0x0020, 0x0037}, {0x0020, 0x4000}, {0x0028, 0x0002}, {0x0028, 0x0004},
    {0x0028, 0x0006}, {0x0028, 0x0010}, {0x0028, 0x0011}, {0x0028, 0x0030}, {0x0028, 0x0100},
    {0x0028, 0x0101}, {0x0028, 0x0102}, {0x0028, 0x0103}, {0x0028, 0x1050}, {0x0028, 0x1051},
    {0x0028, 0x1052}, {0x0028, 0x1053}, {0x0028, 0x1101}, {0x0028, 0x1102}, {0x0028, 0x1103},
    {0x0028, 0x1201}, {0x0028, 0x1202}, {0x0028, 0x1203}, {0x0028, 0x3000}, {0x0028, 0x3010},
    {0x7FE0, 0x0010},
};

// Elements of the template data set that start empty.
constexpr Tag EmptyHeaderTags[] = {
    {0x0008, 0x0050}, {0x0008, 0x0070}, {0x0008, 0x0080}, {0x0008, 0x1010}, {0x0010, 0x0010},
    {0x0010, 0x0020}, {0x0010, 0x0030}, {0x0010, 0x0040}, {0x0010, 0x1010}, {0x0010, 0x1030},
    {0x0008, 0x1070}, {0x0018, 0x5100}, {0x0018, 0x0015}, {0x0020, 0x0020}, {0x0020, 0x0032},
    {0x0020, 0x0037}, {0x0020, 0x0052}, {0x0020, 0x4000}, {0x0028, 0x0010}, {0x0028, 0x0011},
    {0x0028, 0x0030}, {0x0028, 0x0100}, {0x0028, 0x0101}, {0x0028, 0x0102}, {0x0028, 0x1050},
    {0x0028, 0x1051},
};

struct TextElement
{
    Tag tag;
    const char* text;
};

constexpr TextElement FixedHeaderTexts[] = {
    {{0x0008, 0x0018}, "1.2.840.84658685.990809027.100"},
    {{0x0008, 0x0060}, "OT"},
    {{0x0020, 0x000D}, "1.2.840.84658685.990809027.200"},
    {{0x0020, 0x000E}, "1.2.840.84658685.990809027.300"},
    {{0x0020, 0x0010}, "1"},
    {{0x0020, 0x0011}, "1"},
    {{0x0020, 0x0012}, "1"},
    {{0x0020, 0x0013}, "1"},
    {{0x0028, 0x0004}, "MONOCHROME2"},
    {{0x0028, 0x1052}, "0"},
    {{0x0028, 0x1053}, "1"},
};

// Each line of the banner text on its own, without its CR and LF; the LF
// left after the last CR gives one more empty line.
void LogBannerText()
{
    const std::string text = BannerText;
    std::size_t start = 0;
    while (start < text.size())
    {
        const std::size_t end = std::min(text.find('\r', start), text.size());
        std::string line = text.substr(start, end - start);
        std::erase(line, '\n');
        _info("%s", line.c_str());
        start = end + 1;
    }
}

void LogBanner()
{
    _info("");
    _info("* * * * * * * * * * * * * * * * * * * * * * * * * * \n");
    LogBannerText();
    _info("Version : %s", VeltaroVersion);
    _info("");
}

VR* MakeTyped(VR* element, std::uint16_t typeCode)
{
    element->SetTypeCode(typeCode);
    return element;
}

void FillDefaultMetaElements(DICOMVRSet& meta)
{
    meta.Reset();
    VR* version = new VR(0x0002, 0x0001);
    const std::uint8_t versionBytes[2] = {0x00, 0x01};
    std::memcpy(version->GetDataSetLength(2), versionBytes, 2);
    meta.Push(MakeTyped(version, VRCode::OB));
    meta.Push(new VR(0x0002, 0x0012, UID(VeltaroImplementationClassUID)));
    meta.Push(MakeTyped(new VR(0x0002, 0x0013, VeltaroImplementationVersionName), VRCode::SH));
    std::string title(ApplicationTitleSize, ' ');
    title.replace(0, std::strlen(VeltaroApplicationWord), VeltaroApplicationWord);
    meta.Push(MakeTyped(new VR(0x0002, 0x0016, title.c_str()), VRCode::AE));
}

void FillHeaderTemplate(DICOMDataSet& header)
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char today[32];
    char time[32];
    std::snprintf(today, sizeof today, "%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
    std::snprintf(time, sizeof time, "%02d%02d%02d.0", now.wHour, now.wMinute, now.wSecond);

    header.Reset();
    header.Add(0x0008, 0x0008, "ORIGINAL\\PRIMARY");
    header.Add(0x0008, 0x0016, "1.2.840.10008.5.1.4.1.1.4");
    for (const TextElement& fixed : FixedHeaderTexts)
    {
        header.Push(new VR(fixed.tag.group, fixed.tag.element, fixed.text));
    }
    for (const std::uint16_t element : {0x0020, 0x0021, 0x0023})
    {
        header.Push(new VR(0x0008, element, today));
    }
    for (const std::uint16_t element : {0x0030, 0x0031, 0x0033})
    {
        header.Push(new VR(0x0008, element, time));
    }
    for (const Tag& tag : EmptyHeaderTags)
    {
        header.Push(new VR(tag.group, tag.element));
    }
    header.Push(new VR(0x0028, 0x0002, static_cast<unsigned short>(1)));
    header.Push(new VR(0x0028, 0x0103, static_cast<unsigned short>(0)));
}

void FillIconElementFilter(DICOMVRSet& filter)
{
    filter.Reset();
    for (const Tag& tag : IconTags)
    {
        filter.Push(new VR(tag.group, tag.element));
    }
}

} // namespace

DICOMVRSet& GetDefaultMetaElements()
{
    static DICOMDataSet meta;
    return meta;
}

DICOMVRSet& GetIconElementFilter()
{
    static DICOMDataSet filter;
    return filter;
}

int VeltaroInitialize(void)
{
    LogBanner();
    DataDictionary& dictionary = DataDictionary::GetLibraryDictionary();
    dictionary.Build();
    dictionary.BuildCache();
    FillDefaultMetaElements(GetDefaultMetaElements());
    FillHeaderTemplate(DCMHeader);
    FillIconElementFilter(GetIconElementFilter());
    return 1;
}

void VeltaroUninitialize(void)
{
    DataDictionary::GetLibraryDictionary().Detach();
    GetDefaultMetaElements().Reset();
    GetIconElementFilter().Reset();
    DCMHeader.Reset();
    CFileLog& log = GetVeltaroLog();
    log.Banner("\r\n");
    log.Banner("Veltaro closing.\r\n");
    if (log.IsLogOn() != 0)
    {
        log.Flush();
    }
    log.Off();
}
