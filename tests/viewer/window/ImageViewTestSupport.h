// Helpers of the image-view tests: images held in memory (headers only, or
// a corpus CT with new identifiers and positions written to the test's
// folder), a host frame with a viewer window in it that records what the
// view tells them, and a view made the way the grid makes it.
#pragma once

#include "../../platform/FailOnBlockHarness.h"
#include "CImageView.h"
#include "Corvane.h"
#include "DICOMImage.h"
#include "ImageShow.h"
#include "LogTestSupport.h"
#include "UID.h"
#include "VeltaroLibrary.h"

#include "AfxWin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct ImageSpec
{
    std::string study;
    std::string series;
    std::string sop;
    int instance = 1;
    std::string modality = "CT";
};

// Images of two studies, three series and two modalities.
inline const ImageSpec A{"1.1", "1.1.1", "1.1.1.1", 1, "CT"};
inline const ImageSpec B{"1.1", "1.1.1", "1.1.1.2", 2, "CT"};
inline const ImageSpec OtherSeries{"1.1", "1.1.2", "1.1.2.1", 1, "CT"};
inline const ImageSpec OtherModality{"1.1", "1.1.3", "1.1.3.1", 1, "MR"};
inline const ImageSpec OtherStudy{"1.2", "1.2.1", "1.2.1.1", 1, "CT"};
// A's SOP instance arriving in another series.
inline const ImageSpec AElsewhere{"1.1", "1.1.2", "1.1.1.1", 1, "CT"};

// An image of headers only: identifiers, modality and instance number.
inline DICOMImage* MakeHeaderImage(const ImageSpec& spec)
{
    auto* image = new DICOMImage;
    image->SetTransferSyntax(UidTransferLittleEndianExplicit);
    image->Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.7"));
    image->Add(0x0008, 0x0018, UID(spec.sop.c_str()));
    image->Add(0x0008, 0x0060, spec.modality.c_str());
    image->Add(0x0010, 0x0010, "Doe^Jane");
    image->Add(0x0020, 0x000D, UID(spec.study.c_str()));
    image->Add(0x0020, 0x000E, UID(spec.series.c_str()));
    image->Add(0x0020, 0x0013, std::to_string(spec.instance).c_str());
    return image;
}

// A handle the way a host hands an image over.
inline Corvane MakeHolder(DICOMImage* image, int transaction = 1, bool show = true,
                          Corvane::enScope scope = Corvane::enScopeImage)
{
    Corvane holder(image);
    holder.SetTransactionID(transaction);
    holder.ShowImage(show);
    holder.SetToBeSorted(true);
    holder.SetScope(scope);
    return holder;
}

inline int InstanceOf(const ImageShow* show)
{
    return show != nullptr ? show->GetDicomValue(0x0020, 0x0013).Int() : 0;
}

inline std::string CorpusPath(const char* name)
{
    return (std::filesystem::path(SUITE_CORPUS_DIR) / name).string();
}

// Slices of one series made from a corpus CT: each its own SOP instance,
// instance number, slice location and position, written as files of the
// folder. The slices are written in the order of numbers given.
inline std::vector<std::string> WriteSlices(const CTempFolder& folder,
                                            const std::vector<int>& numbers)
{
    std::vector<std::string> paths;
    DICOMImage image;
    if (image.ReadFile(CorpusPath("pydicom/test_files/CT_small.dcm").c_str()) == 0)
    {
        return {};
    }
    for (int number : numbers)
    {
        const std::string sop = "1.2.826.0.1.3680043.2.1125.7.1." + std::to_string(number);
        image.Add(0x0008, 0x0018, UID(sop.c_str()));
        image.Add(0x0020, 0x000E, UID("1.2.826.0.1.3680043.2.1125.7.2"));
        image.Add(0x0020, 0x0013, std::to_string(number).c_str());
        image.Add(0x0020, 0x0012, std::to_string(100 - number).c_str());
        const double location = -50.0 + 2.5 * number;
        image.Add(0x0020, 0x1041, std::to_string(location).c_str());
        image.Add(0x0020, 0x0032, ("-64\\-64\\" + std::to_string(location)).c_str());
        image.BuildMetaHead();
        paths.push_back(folder.GetPath("slice" + std::to_string(number) + ".dcm"));
        if (image.WriteFile(paths.back().c_str(), 1) == 0)
        {
            return {};
        }
    }
    return paths;
}

// The viewer window: it records the commands its views send or post.
// A key typed into a window given the focus, as a user does, with Ctrl
// held when asked.
inline void TypeInto(CUiHarness& harness, CWnd* target, UINT key, bool control)
{
    target->SetFocus();
    if (control)
    {
        harness.KeyDown(VK_CONTROL);
    }
    harness.KeyPress(key);
    if (control)
    {
        harness.KeyUp(VK_CONTROL);
    }
    harness.PumpPending();
}

class ViewerWindowStandIn : public CWnd
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.emplace_back(wParam, lParam);
        return TRUE;
    }
    void PostNcDestroy() override { delete this; }
};

// The host: it takes the files its viewer window's views save for it,
// copying each before the view deletes it.
class HostFrameStandIn : public CFrameWnd
{
public:
    std::string copyFolder;
    std::vector<std::string> saved;
    std::vector<WPARAM> kinds;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == CImageView::MsgSaveToHost)
        {
            kinds.push_back(wParam);
            const std::string target =
                copyFolder + "/saved" + std::to_string(saved.size()) + ".dcm";
            std::filesystem::copy_file(reinterpret_cast<const char*>(lParam), target);
            saved.push_back(target);
            return 1;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class ImageViewTest : public QuillonLogTest
{
protected:
    void SetUp() override
    {
        VeltaroInitialize();
        m_pHost = new HostFrameStandIn;
        m_pHost->copyFolder = m_folder.GetPath();
        ASSERT_TRUE(m_pHost->Create(nullptr, "Host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 900, 700)));
        m_pViewer = new ViewerWindowStandIn;
        ASSERT_TRUE(m_pViewer->Create(nullptr, "Viewer", WS_CHILD | WS_VISIBLE,
                                      CRect(0, 0, 880, 680), m_pHost, 1));
        m_pView = MakeView();
    }
    void TearDown() override
    {
        DestroyHost();
        VeltaroUninitialize();
        QuillonLogTest::TearDown();
    }

    // The host goes with its windows (the frame deletes itself).
    void DestroyHost()
    {
        if (m_pHost != nullptr)
        {
            m_pHost->DestroyWindow();
            m_pHost = nullptr;
        }
    }

    template <class View = CImageView> View* MakeView(const CRect& rect = CRect(0, 0, 600, 600))
    {
        auto* view = new View;
        EXPECT_TRUE(
            view->Create(nullptr, "View", WS_CHILD | WS_VISIBLE, rect, m_pViewer, 2, nullptr));
        view->SetOwner(m_pViewer);
        view->SetViewName("View@0");
        view->SendMessage(WM_INITIALUPDATE);
        return view;
    }

    // The instance numbers the panes show, 0 for an empty pane.
    std::vector<int> PaneInstances(CImageView* view = nullptr) const
    {
        view = view != nullptr ? view : m_pView;
        std::vector<int> numbers;
        for (int pane = 0; pane < view->GetRectCount(); ++pane)
        {
            numbers.push_back(InstanceOf(view->GetPaneImage(pane)));
        }
        return numbers;
    }

    SCROLLINFO ScrollInfo() const
    {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        m_pView->GetScrollInfo(SB_VERT, &info, SIF_ALL);
        return info;
    }

    // Opens every file by series, as the viewer window hands one handle
    // to its view.
    void OpenFiles(const std::vector<std::string>& paths, int transaction = 1)
    {
        for (const std::string& path : paths)
        {
            Corvane holder;
            ASSERT_TRUE(holder.LoadDicomFile(path.c_str())) << path;
            holder.SetTransactionID(transaction);
            holder.SetToBeSorted(true);
            m_pView->OpenCorvaneBySeries(&holder);
        }
    }

    CFailOnBlockHarness m_harness;
    HostFrameStandIn* m_pHost = nullptr;
    ViewerWindowStandIn* m_pViewer = nullptr;
    CImageView* m_pView = nullptr;
};
