#include "PicturePaint.h"

#include <cstdint>

CRect GetPictureRect(const CRect& target, int width, int height, BOOL bFit, BOOL bAlignLeft,
                     BOOL bAlignTop)
{
    CRect place = target;
    if (!bFit && width > 0 && height > 0)
    {
        if (double(target.Height()) / height >= double(target.Width()) / width)
        {
            const int fitted = int(std::int64_t(target.Width()) * height / width);
            place.top = target.top + (target.Height() - fitted) / 2;
            place.bottom = place.top + fitted;
        }
        else
        {
            const int fitted = int(std::int64_t(target.Height()) * width / height);
            place.left = target.left + (target.Width() - fitted) / 2;
            place.right = place.left + fitted;
        }
    }
    if (bAlignLeft)
        place.OffsetRect(-place.left, 0);
    if (bAlignTop)
        place.OffsetRect(0, -place.top);
    return place;
}

void PaintEmbossedPrompt(CWnd& wnd, CDC& dc, const CString& prompt, int nFontHeight, int nFontWidth)
{
    CRect client;
    wnd.GetClientRect(&client);
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(&dc) ||
        !bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height()))
        return;
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    memory.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CFont font;
    font.CreateFont(nFontHeight, nFontWidth, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, "Times");
    CFont* oldFont = memory.SelectObject(&font);
    memory.SetBkMode(TRANSPARENT);
    const UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    CRect text = client;
    memory.SetTextColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    memory.DrawText(prompt, &text, nFormat);
    text.OffsetRect(-1, -1);
    memory.SetTextColor(GetSysColor(COLOR_BTNSHADOW));
    memory.DrawText(prompt, &text, nFormat);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldFont);
    memory.SelectObject(oldBitmap);
}
