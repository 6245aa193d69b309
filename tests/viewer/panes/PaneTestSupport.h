// Helpers of the pane tests: a view port with an image size of the test's
// choosing and its geometry open to the test, memory surfaces whose pixels
// are read back, a host window for panes, and images made in memory or read
// from the corpus.
#pragma once

#include "../../platform/FailOnBlockHarness.h"
#include "../model/ImageShowTestSupport.h"
#include "CViewPort.h"
#include "MemoryDC.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// A view port whose image size the test sets, with its geometry settable.
class TestViewPort : public CViewPort
{
public:
    SIZE m_ImageSize = {0, 0};

    void GetImageSize(SIZE* size) const override { *size = m_ImageSize; }
    void SetGeometry(double zoom, POINT pan, RECT display)
    {
        m_dZoom = zoom;
        m_ptPan = pan;
        m_rcDisplay = display;
    }
    void SetFitFactor(double fit) { m_dFitFactor = fit; }
};

// A 32-bit memory surface, filled with one colour, read back as COLORREF.
class PaneSurface : public CMemoryDC
{
public:
    PaneSurface(int width, int height, COLORREF fill = RGB(0, 0, 0))
        : CMemoryDC(nullptr, width, height, 32)
    {
        FillSolidRect(0, 0, width, height, fill);
    }

    COLORREF At(int x, int y) const
    {
        const auto* row =
            static_cast<const std::uint8_t*>(GetBits()) + std::size_t(y) * std::size_t(GetStride());
        const std::uint8_t* pixel = row + 4 * x;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }
    int Count(COLORREF color) const
    {
        int count = 0;
        for (int y = 0; y < GetHeight(); ++y)
        {
            for (int x = 0; x < GetWidth(); ++x)
            {
                count += At(x, y) == color ? 1 : 0;
            }
        }
        return count;
    }
    // The smallest rectangle holding every pixel of the area (the whole
    // surface by default) that is not the colour, or that is the colour.
    CRect BoundsOfOther(COLORREF color, CRect area = CRect(0, 0, INT_MAX, INT_MAX)) const
    {
        return Bounds(color, false, area);
    }
    CRect BoundsOf(COLORREF color, CRect area = CRect(0, 0, INT_MAX, INT_MAX)) const
    {
        return Bounds(color, true, area);
    }

private:
    CRect Bounds(COLORREF color, bool same, CRect area) const
    {
        area &= CRect(0, 0, GetWidth(), GetHeight());
        CRect bounds(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = area.top; y < area.bottom; ++y)
        {
            for (int x = area.left; x < area.right; ++x)
            {
                if ((At(x, y) == color) == same)
                {
                    bounds.left = std::min<LONG>(bounds.left, x);
                    bounds.top = std::min<LONG>(bounds.top, y);
                    bounds.right = std::max<LONG>(bounds.right, x + 1);
                    bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
                }
            }
        }
        return bounds.left == INT_MAX ? CRect(0, 0, 0, 0) : bounds;
    }
};

// Tests with windows and images: the DICOM library started, a scripted
// harness and a visible top-level host, and panes on it.
class PaneWindowTest : public ::testing::Test
{
protected:
    // A pane of the class as a child of the host; the test owns it.
    template <class View> View* MakePane(const CRect& rect)
    {
        auto* view = new View;
        EXPECT_TRUE(view->Create(nullptr, "Pane", WS_CHILD | WS_VISIBLE, rect, m_pHost, 1));
        m_panes.emplace_back(view);
        return view;
    }
    // The client picture after a paint of everything invalid.
    WindowPicture Paint(CWnd* window)
    {
        window->Invalidate(FALSE);
        m_harness.PumpPending();
        WindowPicture picture;
        EXPECT_TRUE(UserGetWindowPicture(window->m_hWnd, true, picture));
        return picture;
    }

    void SetUp() override
    {
        VeltaroInitialize();
        m_pHost = new CFrameWnd;
        ASSERT_TRUE(m_pHost->Create(nullptr, "Host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 900, 700)));
    }
    void TearDown() override
    {
        m_pHost->DestroyWindow();
        VeltaroUninitialize();
    }

    CFailOnBlockHarness m_harness;
    CFrameWnd* m_pHost = nullptr;
    std::vector<std::unique_ptr<CWnd>> m_panes;
};

inline std::string CorpusFile(const std::string& name)
{
    return std::string(SUITE_CORPUS_DIR) + "/" + name;
}

inline bool HasCorpus()
{
    return std::filesystem::is_directory(CorpusFile("pydicom"));
}

// An image show of a data set made in memory (the show owns it).
inline std::unique_ptr<ImageShow> ShowOf(DICOMImage* image)
{
    auto show = std::make_unique<ImageShow>();
    show->AttachCorvane(Corvane(image), 0);
    return show;
}

// An image show of a corpus file.
inline std::unique_ptr<ImageShow> CorpusShow(const std::string& name)
{
    Corvane holder;
    holder.LoadDicomFile(CorpusFile(name).c_str());
    auto show = std::make_unique<ImageShow>();
    show->AttachCorvane(holder, 0);
    return show;
}

// A pattern whose every pixel differs from its neighbours: shifts and
// seams show at once.
inline std::vector<std::uint8_t> PatternPixels(int rows, int columns)
{
    std::vector<std::uint8_t> pixels(std::size_t(rows) * std::size_t(columns));
    for (int y = 0; y < rows; ++y)
    {
        for (int x = 0; x < columns; ++x)
        {
            pixels[std::size_t(y) * columns + x] = std::uint8_t((x * 7 + y * 13) % 251 + 2);
        }
    }
    return pixels;
}

// The grey level of a picture pixel (0x00RRGGBB).
inline int GreyOf(std::uint32_t pixel)
{
    return int(pixel & 0xFF);
}
