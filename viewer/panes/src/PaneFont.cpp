#include "PaneFont.h"

#include "ViewPortFonts.h"
#include "WinProcessInfo.h"

#include <cstring>

LOGFONTA MakeLogFont(int pointSize, const char* faceName)
{
    LOGFONTA font{};
    font.lfHeight = -MulDiv(pointSize, GetScreenPixelsPerInchY(), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    if (faceName != nullptr)
    {
        std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    }
    return font;
}

int GetScreenPixelsPerInchY()
{
    static const int pixelsPerInch = []
    {
        HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value;
    }();
    return pixelsPerInch;
}

int GetLabelFontSize(int clientWidth, int clientHeight, int initialSize)
{
    for (const ViewPortFont& entry : GetViewPortFonts())
    {
        if (entry.nPaneSize > clientHeight || entry.nPaneSize > clientWidth)
        {
            return entry.nFontSize;
        }
    }
    return initialSize;
}
