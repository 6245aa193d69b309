#include "MemDC.h"
#include "DibTestHelpers.h"
#include "WinModule.h"
#include "WinUser.h"

#include <gtest/gtest.h>

TEST(MemDC, CopiesTheClipBoxBackAtItsPlace)
{
    MemorySurface target(40, 40, RGB(255, 255, 255));
    IntersectClipRect(target.Dc(), 10, 12, 30, 26);
    CDC* pDC = CDC::FromHandle(target.Dc());
    {
        CMemDC mem(pDC);
        // Drawing at the target's coordinates lands in the off-screen bitmap.
        mem->FillSolidRect(10, 12, 20, 14, RGB(0, 0, 255));
        mem->FillSolidRect(15, 15, 2, 2, RGB(255, 0, 0));
        EXPECT_EQ(target.At(15, 15), RGB(255, 255, 255)); // not yet visible
        CRect box;
        EXPECT_EQ(mem.GetClipBox(&box), SIMPLEREGION);
        EXPECT_EQ(box, CRect(10, 12, 30, 26));
    }
    EXPECT_EQ(target.At(15, 15), RGB(255, 0, 0));
    EXPECT_EQ(target.At(10, 12), RGB(0, 0, 255));
    EXPECT_EQ(target.At(29, 25), RGB(0, 0, 255));
    SelectClipRgn(target.Dc(), nullptr);
    EXPECT_EQ(target.At(9, 12), RGB(255, 255, 255));
    EXPECT_EQ(target.At(30, 25), RGB(255, 255, 255));
    CDC::DeleteTempMap();
}

TEST(MemDC, WholeMemoryDcWhenThereIsNoClip)
{
    MemorySurface target(8, 6, RGB(255, 255, 255));
    CDC* pDC = CDC::FromHandle(target.Dc());
    {
        CMemDC mem(pDC);
        RECT all{0, 0, 8, 6};
        ::FillRect(mem.m_hDC, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    EXPECT_EQ(target.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(target.At(7, 5), RGB(0, 0, 0));
    CDC::DeleteTempMap();
}

TEST(MemDC, PrintingDcIsDrawnDirectlyAndKept)
{
    MemorySurface target(8, 8, RGB(255, 255, 255));
    CDC printer;
    printer.Attach(target.Dc());
    printer.m_bPrinting = TRUE;
    {
        CMemDC mem(&printer);
        EXPECT_EQ(mem.m_hDC, target.Dc());
        EXPECT_TRUE(mem.IsPrinting());
        mem->FillSolidRect(1, 1, 2, 2, RGB(0, 255, 0));
        EXPECT_EQ(target.At(1, 1), RGB(0, 255, 0)); // at once
    }
    // The DC survived the object.
    EXPECT_EQ(GetObjectType(target.Dc()), DWORD(OBJ_MEMDC));
    printer.Detach();
}

namespace
{
LRESULT PlainWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}
} // namespace

TEST(MemDC, WindowDcUsesTheClientRectangle)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "MemDCTestWindow";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowExA(0, "MemDCTestWindow", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10,
                                60, 40, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    CRect client;
    GetClientRect(hWnd, &client);
    HDC hdc = GetDC(hWnd);
    ASSERT_NE(hdc, nullptr);
    IntersectClipRect(hdc, 5, 5, 15, 15);
    CDC* pDC = CDC::FromHandle(hdc);
    {
        CMemDC mem(pDC);
        CRect box;
        mem.GetClipBox(&box);
        EXPECT_EQ(box, client); // the whole client area, not the clip box
        mem->FillSolidRect(client, RGB(0, 0, 255));
    }
    // The copy back goes through the window DC's clip.
    EXPECT_EQ(GetPixel(hdc, 6, 6), RGB(0, 0, 255));
    SelectClipRgn(hdc, nullptr);
    EXPECT_NE(GetPixel(hdc, 20, 20), RGB(0, 0, 255));
    ReleaseDC(hWnd, hdc);
    CDC::DeleteTempMap();
    DestroyWindow(hWnd);
}
