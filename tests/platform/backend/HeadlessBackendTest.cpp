// The headless backend and the harness: the default backend, what top-level
// windows tell a backend, window pictures and their files, and scripts
// played when loops find nothing to do.
#include "HeadlessBackend.h"
#include "../FailOnBlockHarness.h"
#include "DisplayBackend.h"
#include "ModalAnswers.h"
#include "WinUser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
class RecordingBackend : public CDisplayBackend
{
public:
    std::vector<std::string> events;
    int nFlushes = 0;
    RECT lastChanged{};

    LPCSTR GetName() const override { return "recording"; }
    bool IsInteractive() const override { return true; }
    void OnTopLevelCreated(HWND) override { events.push_back("created"); }
    void OnTopLevelDestroyed(HWND) override { events.push_back("destroyed"); }
    void OnTopLevelShown(HWND, bool bShown) override
    {
        events.push_back(bShown ? "shown" : "hidden");
    }
    void OnTopLevelMoved(HWND, const RECT& rc) override
    {
        events.push_back("moved " + std::to_string(rc.left) + "," + std::to_string(rc.top));
    }
    void OnTopLevelTextChanged(HWND, LPCSTR lpszText) override
    {
        events.push_back(std::string("title ") + lpszText);
    }
    void OnSurfaceChanged(HWND, const RECT& rc) override { lastChanged = rc; }
    void Flush() override { ++nFlushes; }
    bool Poll() override { return false; }
    void Wait(DWORD) override { PostQuitMessage(0); }
    void OnCursorChanged(HCURSOR, bool) override {}
};

class HeadlessBackendTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "BackendTestWindow";
        RegisterClassA(&wc);
    }

    static HWND Create(DWORD dwStyle, HWND hParent, const RECT& rc)
    {
        return CreateWindowExA(0, "BackendTestWindow", "window", dwStyle, rc.left, rc.top,
                               rc.right - rc.left, rc.bottom - rc.top, hParent, nullptr, nullptr,
                               nullptr);
    }

    static std::string TempPath(const char* name) { return testing::TempDir() + name; }

    CFailOnBlockHarness m_harness;
};

TEST_F(HeadlessBackendTest, HeadlessIsTheDefaultBackend)
{
    EXPECT_STREQ(GetDisplayBackend().GetName(), "headless");
    EXPECT_EQ(&GetDisplayBackend(), &GetHeadlessBackend());
    const HWND hTop = Create(WS_POPUP | WS_VISIBLE, nullptr, RECT{0, 0, 20, 20});
    Create(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 5, 5});
    EXPECT_EQ(GetHeadlessBackend().GetTopLevelCount(), 1) << "children never meet the backend";
}

TEST_F(HeadlessBackendTest, InstalledBackendHearsOnlyAboutTopLevelWindows)
{
    RecordingBackend backend;
    CDisplayBackend* pPrevious = SetDisplayBackend(&backend);
    const HWND hTop = Create(WS_POPUP | WS_VISIBLE, nullptr, RECT{10, 20, 110, 120});
    const HWND hChild = Create(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 50, 50});
    SetWindowTextA(hTop, "Pelivo");
    SetWindowTextA(hChild, "child");
    MoveWindow(hTop, 30, 40, 100, 100, TRUE);
    HDC hdc = GetDC(hChild);
    SetPixel(hdc, 3, 4, RGB(1, 2, 3));
    ReleaseDC(hChild, hdc);
    EXPECT_EQ(backend.lastChanged.left, 3);
    EXPECT_EQ(backend.lastChanged.top, 4);
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0));
    EXPECT_GT(backend.nFlushes, 0);
    DestroyWindow(hTop);
    SetDisplayBackend(pPrevious);
    EXPECT_EQ(backend.events,
              (std::vector<std::string>{"created", "title window", "shown", "title Pelivo",
                                        "moved 30,40", "hidden", "destroyed"}));
}

TEST_F(HeadlessBackendTest, PictureFilesHoldWhatTheWindowShows)
{
    const HWND hTop = Create(WS_POPUP | WS_VISIBLE, nullptr, RECT{0, 0, 40, 30});
    const HWND hChild = Create(WS_CHILD | WS_VISIBLE | WS_BORDER, hTop, RECT{5, 6, 25, 26});
    m_harness.PumpPending();
    HDC hdc = GetDC(hChild);
    SetPixel(hdc, 0, 0, RGB(255, 0, 0));
    SetPixel(hdc, 17, 17, RGB(0, 0, 255));
    ReleaseDC(hChild, hdc);

    const std::string path = TempPath("top.bmp");
    ASSERT_TRUE(SaveWindowPicture(hTop, path.c_str()));
    WindowPicture fromFile;
    ASSERT_TRUE(ReadPictureFile(path.c_str(), fromFile));
    WindowPicture direct;
    ASSERT_TRUE(UserGetWindowPicture(hTop, false, direct));
    EXPECT_EQ(fromFile.nWidth, 40);
    EXPECT_EQ(fromFile.nHeight, 30);
    EXPECT_EQ(fromFile.pixels, direct.pixels);
    EXPECT_EQ(fromFile.GetPixel(6, 7), 0xFF0000u);
    EXPECT_EQ(fromFile.GetPixel(5, 6), 0x000000u) << "the child's border";

    const GdiSurfaceInfo surface = UserGetTopLevelSurface(hTop);
    ASSERT_NE(surface.pTop, nullptr);
    EXPECT_EQ(surface.nWidth, 40);
    EXPECT_EQ(surface.nStride, 40 * 4);
    EXPECT_EQ(surface.pTop[(7 * 40 + 6) * 4 + 2], 0xFF) << "the red byte of the child's pixel";
    EXPECT_EQ(UserGetTopLevelSurface(hChild).pTop, nullptr);

    const std::string childPath = TempPath("child.bmp");
    ASSERT_TRUE(SaveWindowPicture(hChild, childPath.c_str(), true));
    WindowPicture child;
    ASSERT_TRUE(ReadPictureFile(childPath.c_str(), child));
    EXPECT_EQ(child.nWidth, 18);
    EXPECT_EQ(child.GetPixel(0, 0), 0xFF0000u);
    EXPECT_EQ(child.GetPixel(17, 17), 0x0000FFu);
    std::remove(path.c_str());
    std::remove(childPath.c_str());
}

TEST_F(HeadlessBackendTest, BrokenPictureFilesAreRefused)
{
    WindowPicture picture;
    EXPECT_FALSE(ReadPictureFile(TempPath("absent.bmp").c_str(), picture));
    const std::string path = TempPath("broken.bmp");
    {
        std::ofstream out(path, std::ios::binary);
        out << "BM this is not a bitmap";
    }
    EXPECT_FALSE(ReadPictureFile(path.c_str(), picture));
    EXPECT_FALSE(SaveWindowPicture(reinterpret_cast<HWND>(0x40FFFFFF), path.c_str()));
    std::remove(path.c_str());
}

TEST_F(HeadlessBackendTest, ScriptPlaysOneStepForEachEmptyLookAndTimeMovesToTimers)
{
    const HWND hTop = Create(WS_POPUP | WS_VISIBLE, nullptr, RECT{0, 0, 20, 20});
    m_harness.PumpPending();
    int nSteps = 0;
    m_harness.Script().Do([&] { ++nSteps; }).Do([&] { ++nSteps; });
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(nSteps, 1);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(nSteps, 2);
    EXPECT_TRUE(m_harness.Script().IsDone());
    SetTimer(hTop, 3, 250, nullptr);
    const DWORD before = GetTickCount();
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(GetTickCount() - before, 250u);
}
TEST_F(HeadlessBackendTest, ModalRequestsAreRecordedAndAnsweredWithoutWaiting)
{
    ModalRequest request;
    request.caption = "DDE Error";
    request.text = "Cannot connect";
    request.nFlags = 0x30;
    request.nDefaultAnswer = 1;
    EXPECT_EQ(AskModalAnswer(request), 1) << "headless takes the default";
    SetModalAnswerHook(
        [](const ModalRequest& asked) -> std::optional<INT_PTR>
        {
            if (asked.kind == enModalKind::FileDialog)
                return std::nullopt;
            return 2;
        });
    EXPECT_EQ(AskModalAnswer(request), 2);
    request.kind = enModalKind::FileDialog;
    EXPECT_EQ(AskModalAnswer(request), 1);
    RecordingBackend interactive;
    CDisplayBackend* pPrevious = SetDisplayBackend(&interactive);
    EXPECT_EQ(AskModalAnswer(request), std::nullopt) << "a person answers on a real display";
    SetDisplayBackend(pPrevious);
    const std::vector<ModalRequest>& requests = GetModalRequests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].caption, "DDE Error");
    EXPECT_EQ(requests[0].text, "Cannot connect");
    EXPECT_EQ(requests[0].nFlags, 0x30u);
    EXPECT_EQ(requests[2].kind, enModalKind::FileDialog);
}
} // namespace
