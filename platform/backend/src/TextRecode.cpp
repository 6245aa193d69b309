#include "TextRecode.h"

#include "WinCodePage.h"

#include <algorithm>
#include <vector>

std::string Recode(const std::string& text, UINT from, UINT to)
{
    // Even within one page the text goes through the conversion: the display
    // takes only well-formed UTF-8, and bytes that are not (a DICOM name in
    // Latin-1 under a UTF-8 page) become replacement characters.
    if (text.empty())
        return text;
    const int nWide = MultiByteToWideChar(from, 0, text.c_str(), -1, nullptr, 0);
    if (nWide <= 1)
        return std::string();
    std::vector<WCHAR> wide(static_cast<std::size_t>(nWide));
    MultiByteToWideChar(from, 0, text.c_str(), -1, wide.data(), nWide);
    std::string result;
    if (to == CP_UTF8)
    {
        const int nBytes =
            WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
        result.resize(static_cast<std::size_t>(std::max(nBytes, 1)));
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, result.data(), nBytes, nullptr, nullptr);
        result.resize(result.size() - 1);
        return result;
    }
    for (std::size_t i = 0; i + 1 < wide.size(); ++i)
    {
        char bytes[8];
        BOOL bDefaulted = FALSE;
        const int n =
            WideCharToMultiByte(to, 0, &wide[i], 1, bytes, sizeof(bytes), nullptr, &bDefaulted);
        if (n > 0 && !bDefaulted)
            result.append(bytes, static_cast<std::size_t>(n));
    }
    return result;
}
