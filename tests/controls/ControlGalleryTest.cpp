// One window holding each control of the library in a typical state: every
// control draws in its own place. With SUITE_PICTURE_DIR set the picture is
// written out to be looked at.
#include "ButtonEx.h"
#include "ControlTestSupport.h"
#include "CustomButton.h"
#include "FlatEdit.h"
#include "Label.h"
#include "MaskEdit.h"
#include "MenuButton.h"
#include "SinusLabel.h"
#include "SnakeCtrl.h"
#include "ThreeDText.h"

#include <set>

namespace
{
// A custom check box that paints a box and its mark.
class CCheckPainter : public CCustomButton
{
protected:
    bool IsCustom() const override { return true; }
    void Draw(CDC* pDC, CRect rect, const CCustomButtonData& data) override
    {
        CRect box(rect.left + 2, rect.top + 4, rect.left + 18, rect.top + 20);
        pDC->FillSolidRect(&box, RGB(255, 255, 255));
        pDC->Draw3dRect(&box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        if (data.bSelected)
            pDC->FillSolidRect(box.left + 4, box.top + 4, 8, 8, RGB(0, 100, 0));
        pDC->SetBkMode(TRANSPARENT);
        CRect text = rect;
        text.left += 24;
        pDC->DrawText(data.strText, &text, DT_SINGLELINE | DT_VCENTER);
    }
};

TEST(ControlGallery, EveryControlDrawsInItsPlace)
{
    CFailOnBlockHarness harness;
    CTestParent parent(CRect(50, 50, 690, 370));
    // The parent paints first, as a shown window does before its controls
    // come.
    harness.PumpPending();
    struct Placed
    {
        const char* pszName;
        CRect rect;
    };
    std::vector<Placed> places;
    const auto place = [&](const char* pszName, CRect rect)
    {
        places.push_back({pszName, rect});
        return rect;
    };

    CButtonEx flat;
    flat.Create("Flat", WS_CHILD | WS_VISIBLE, place("flat button", CRect(10, 10, 110, 40)),
                &parent, 1);
    CButtonEx raised;
    raised.Create("Icon", WS_CHILD | WS_VISIBLE, place("button with icon", CRect(120, 10, 220, 40)),
                  &parent, 2);
    raised.SetFlat(FALSE);
    raised.SetIcon(MakeSolidIcon(RGB(200, 0, 0)), MakeSolidIcon(RGB(0, 0, 200)), 16, 16);
    CButtonEx disabled;
    disabled.Create("Off", WS_CHILD | WS_VISIBLE | WS_DISABLED,
                    place("disabled button", CRect(230, 10, 330, 40)), &parent, 3);
    disabled.SetFlat(FALSE);
    CThreeDTextButton threeD;
    threeD.Create("Scan", WS_CHILD | WS_VISIBLE, place("3-D button", CRect(340, 10, 460, 50)),
                  &parent, 4);
    CMenuButton menuButton;
    menuButton.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                      place("menu button", CRect(470, 10, 500, 34)), &parent, 5);
    CCheckPainter check;
    check.Create("Custom", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                 place("custom check box", CRect(510, 10, 620, 34)), &parent, 6);
    check.SendMessage(BM_SETCHECK, BST_CHECKED);

    CThreeDStaticText engraved;
    engraved.Create("Engraved", WS_CHILD | WS_VISIBLE,
                    place("engraved static", CRect(10, 60, 210, 110)), &parent, 7);
    CLabel label;
    label.Create("http://www.example.org/", WS_CHILD | WS_VISIBLE,
                 place("label", CRect(220, 70, 460, 100)), &parent, 8);
    label.SetBkColor(RGB(0, 0, 120)).SetTextColor(RGB(255, 255, 0)).SetFontBold(TRUE);
    label.SetFontUnderline(TRUE).SetSunken(TRUE);
    CSnakeCtrl snake;
    snake.Create("", WS_CHILD | WS_VISIBLE, place("snake", CRect(470, 70, 630, 90)), &parent, 9);
    snake.SetWindowTextA("Busy");
    snake.SetElapse(0);
    snake.Start();

    CSinusLabel marquee;
    marquee.Create("", WS_CHILD | WS_VISIBLE, place("marquee", CRect(10, 120, 310, 200)), &parent,
                   10);
    marquee.SetText("Pelivo viewer ");
    marquee.Start();
    CFlatEdit flatEdit;
    flatEdit.Create(WS_CHILD | WS_VISIBLE, place("flat edit", CRect(340, 130, 500, 152)), &parent,
                    11);
    flatEdit.SetWindowText("Flat edit");
    CMaskEdit maskEdit;
    maskEdit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER,
                    place("masked edit", CRect(340, 170, 500, 194)), &parent, 12);
    maskEdit.SetMask("00/00", "__/__");
    maskEdit.m_isdate = TRUE;
    for (char ch : {'2', '4', '1', '2'})
        maskEdit.SendMessage(WM_CHAR, UINT(ch), 1);

    flatEdit.SetFocus();

    harness.PumpPending();
    for (int i = 0; i < 60; ++i)
    {
        harness.AdvanceClock(15);
        harness.PumpPending();
    }
    flat.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    harness.PumpPending();
    for (int i = 0; i < 40; ++i)
        snake.StepIt();
    snake.Invalidate();
    harness.PumpPending();

    DumpPicture(parent.m_hWnd, "controls-gallery");
    const WindowPicture picture = ClientPictureOf(parent.m_hWnd);
    for (const Placed& placed : places)
    {
        std::set<std::uint32_t> colours;
        for (int y = placed.rect.top; y < placed.rect.bottom; ++y)
            for (int x = placed.rect.left; x < placed.rect.right; ++x)
                colours.insert(picture.GetPixel(x, y));
        EXPECT_GE(colours.size(), 3u) << placed.pszName << " draws in its place";
    }
    marquee.Stop();
}
} // namespace
