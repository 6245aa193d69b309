// Drag and drop inside the process: the order of a target's calls, copy
// and move by the Ctrl key, Escape, drops that land nowhere, registration
// rules, dropped files and the OLE clipboard.
#include "UserTestSupport.h"

#include "../LeftButtonDropSource.h"

#include "OleDataStore.h"
#include "WinClipboard.h"
#include "WinDropFiles.h"
#include "WinGlobalMemory.h"
#include "WinOle.h"

#include <cstring>
#include <string>

namespace
{
const RECT kTopRect{100, 100, 800, 400};

std::string TextOf(IDataObject* pDataObj)
{
    const std::vector<BYTE> bytes = GetDataObjectBytes(pDataObj, CF_TEXT);
    return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), BYTE(0)));
}

// Logs its calls; copies with Ctrl, moves without.
class RecordingTarget final : public IDropTarget
{
public:
    explicit RecordingTarget(std::vector<std::string>& log, std::string name)
        : m_log(log), m_name(std::move(name))
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override
    {
        *ppv = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_nRefs; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD grfKeyState, POINTL,
                                        DWORD* pdwEffect) override
    {
        m_log.push_back(m_name + " enter");
        *pdwEffect = Answer(grfKeyState, *pdwEffect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL, DWORD* pdwEffect) override
    {
        m_log.push_back(m_name + " over");
        *pdwEffect = Answer(grfKeyState, *pdwEffect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        m_log.push_back(m_name + " leave");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                   DWORD* pdwEffect) override
    {
        m_log.push_back(m_name + " drop " + TextOf(pDataObj));
        dropPoint = POINT{pt.x, pt.y};
        *pdwEffect = Answer(grfKeyState, *pdwEffect);
        return S_OK;
    }

    ULONG m_nRefs = 0;
    POINT dropPoint{};

private:
    static DWORD Answer(DWORD grfKeyState, DWORD dwAllowed)
    {
        return ((grfKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE) & dwAllowed;
    }

    std::vector<std::string>& m_log;
    std::string m_name;
};

class OleDragDropTest : public UserTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        m_hTop = CreateTopLevel(kTopRect);
        m_hSource = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hTop, RECT{0, 0, 200, 200});
        m_hFirst = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hTop, RECT{250, 0, 450, 200});
        m_hSecond = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hTop, RECT{500, 0, 700, 200});
        ASSERT_EQ(RegisterDragDrop(m_hFirst, &m_first), S_OK);
        ASSERT_EQ(RegisterDragDrop(m_hSecond, &m_second), S_OK);
        SetHandler(m_hSource,
                   [this](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
                   {
                       if (nMsg != WM_LBUTTONDOWN)
                           return std::nullopt;
                       COleDataStore* pData = COleDataStore::Create();
                       pData->SetBytes(CF_TEXT, "cells", 6);
                       m_hr = DoDragDrop(pData, &m_source, m_dwAllowed, &m_dwEffect);
                       pData->Release();
                       return 0;
                   });
        m_harness.PumpPending();
    }
    void TearDown() override
    {
        RevokeDragDrop(m_hFirst);
        RevokeDragDrop(m_hSecond);
        OleUninitialize();
    }

    void Drag()
    {
        m_harness.MouseDown(enMouseButton::Left, At(m_hSource, 20, 20));
        m_harness.PumpPending();
    }
    static POINT At(HWND hWnd, int x, int y) { return CUiHarness::ScreenPoint(hWnd, x, y); }

    HWND m_hTop = nullptr;
    HWND m_hSource = nullptr;
    HWND m_hFirst = nullptr;
    HWND m_hSecond = nullptr;
    std::vector<std::string> m_log;
    RecordingTarget m_first{m_log, "first"};
    RecordingTarget m_second{m_log, "second"};
    CLeftButtonDropSource m_source;
    DWORD m_dwAllowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    HRESULT m_hr = E_FAIL;
    DWORD m_dwEffect = 0xFFFF;
};

TEST_F(OleDragDropTest, TargetsAreEnteredMovedOverLeftAndDroppedOnInOrder)
{
    m_harness.Script()
        .MouseMove(At(m_hSource, 40, 20))
        .MouseMove(At(m_hFirst, 10, 10))
        .MouseMove(At(m_hFirst, 20, 10))
        .MouseMove(At(m_hSecond, 10, 10))
        .MouseMove(At(m_hSecond, 30, 40))
        .MouseUp(enMouseButton::Left, At(m_hSecond, 30, 40));
    Drag();
    EXPECT_EQ(m_log,
              (std::vector<std::string>{"first enter", "first over", "first leave", "second enter",
                                        "second over", "second drop cells"}));
    EXPECT_EQ(m_hr, DRAGDROP_S_DROP);
    EXPECT_EQ(m_dwEffect, DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(m_second.dropPoint.x, At(m_hSecond, 30, 40).x);
    // Over the source nothing is taken; then the targets take a move.
    ASSERT_FALSE(m_source.feedback.empty());
    EXPECT_EQ(m_source.feedback.front(), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(m_source.feedback.back(), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(m_first.m_nRefs, 1U);
}

TEST_F(OleDragDropTest, CtrlCopiesAndTheSourcesAllowedEffectsBound)
{
    struct Case
    {
        bool bCtrl;
        DWORD dwAllowed;
        DWORD dwExpected;
    };
    const Case cases[] = {
        {false, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {true, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {false, DROPEFFECT_COPY, DROPEFFECT_NONE},
        {true, DROPEFFECT_MOVE, DROPEFFECT_NONE},
    };
    for (const Case& c : cases)
    {
        m_log.clear();
        m_dwAllowed = c.dwAllowed;
        if (c.bCtrl)
            m_harness.Script().Key(VK_CONTROL, true);
        m_harness.Script()
            .MouseMove(At(m_hFirst, 10, 10))
            .MouseUp(enMouseButton::Left, At(m_hFirst, 10, 10));
        if (c.bCtrl)
            m_harness.Script().Key(VK_CONTROL, false);
        Drag();
        while (m_harness.Script().PlayNext())
        {
        }
        m_harness.PumpPending();
        EXPECT_EQ(m_dwEffect, c.dwExpected) << c.bCtrl << " " << c.dwAllowed;
        const bool bDropped = c.dwExpected != DROPEFFECT_NONE;
        EXPECT_EQ(m_log.back(), bDropped ? "first drop cells" : "first leave");
    }
}

TEST_F(OleDragDropTest, EscapeGivesTheDragUpAndATargetHearsTheLeave)
{
    m_harness.Script().MouseMove(At(m_hFirst, 10, 10)).KeyPress(VK_ESCAPE);
    Drag();
    EXPECT_EQ(m_hr, DRAGDROP_S_CANCEL);
    EXPECT_EQ(m_dwEffect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(m_log, (std::vector<std::string>{"first enter", "first leave"}));
    EXPECT_EQ(GetCapture(), nullptr);
    m_harness.MouseUp(enMouseButton::Left, At(m_hFirst, 10, 10));
    m_harness.PumpPending();
}

TEST_F(OleDragDropTest, ADropWhereNoWindowTakesItCarriesNothingOut)
{
    m_harness.Script()
        .MouseMove(At(m_hFirst, 10, 10))
        .MouseMove(POINT{50, 600})
        .MouseUp(enMouseButton::Left, POINT{50, 600});
    Drag();
    EXPECT_EQ(m_hr, DRAGDROP_S_DROP);
    EXPECT_EQ(m_dwEffect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(m_log, (std::vector<std::string>{"first enter", "first leave"}));
}

TEST_F(OleDragDropTest, RegistrationNeedsOleAWindowAndOneTargetAWindow)
{
    RecordingTarget other(m_log, "other");
    EXPECT_EQ(RegisterDragDrop(m_hFirst, &other), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisterDragDrop(reinterpret_cast<HWND>(0x4ffffff0), &other), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(RegisterDragDrop(m_hSource, nullptr), E_INVALIDARG);
    EXPECT_EQ(RevokeDragDrop(m_hSource), DRAGDROP_E_NOTREGISTERED);
    OleUninitialize();
    EXPECT_EQ(RegisterDragDrop(m_hSource, &other), E_OUTOFMEMORY);
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    EXPECT_EQ(RevokeDragDrop(m_hFirst), S_OK);
    EXPECT_EQ(m_first.m_nRefs, 0U);
    EXPECT_EQ(RevokeDragDrop(m_hFirst), DRAGDROP_E_NOTREGISTERED);
}

TEST_F(OleDragDropTest, FilesDropOnAWindowThatAcceptsThemAsWmDropFiles)
{
    const HWND hFiles = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hTop, RECT{0, 220, 200, 290});
    const HWND hInner = CreateTestWindow(WS_CHILD | WS_VISIBLE, hFiles, RECT{10, 10, 60, 60});
    std::vector<std::string> dropped;
    POINT ptDrop{};
    SetHandler(hFiles,
               [&](HWND, UINT nMsg, WPARAM wParam, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_DROPFILES)
                       return std::nullopt;
                   const auto hDrop = reinterpret_cast<HDROP>(wParam);
                   const UINT nCount = DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
                   for (UINT i = 0; i < nCount; ++i)
                   {
                       char path[MAX_PATH] = "";
                       DragQueryFileA(hDrop, i, path, MAX_PATH);
                       dropped.emplace_back(path);
                   }
                   DragQueryPoint(hDrop, &ptDrop);
                   DragFinish(hDrop);
                   return 0;
               });
    const std::vector<std::string> paths{"/tmp/a b/one.dcm", "/tmp/\xc3\xa9t\xc3\xa9/two.dcm"};
    // Not accepting files yet: nobody takes them.
    EXPECT_EQ(DropFilesAt(At(hInner, 5, 5), paths), DWORD(DROPEFFECT_NONE));
    DragAcceptFiles(hFiles, TRUE);
    EXPECT_EQ(DropFilesAt(At(hInner, 5, 5), paths), DWORD(DROPEFFECT_COPY));
    EXPECT_TRUE(dropped.empty()); // posted
    m_harness.PumpPending();
    EXPECT_EQ(dropped, paths);
    EXPECT_EQ(ptDrop.x, 15);
    EXPECT_EQ(ptDrop.y, 15);
}

TEST_F(OleDragDropTest, DragQueryFileCountsMeasuresAndCutsToTheBuffer)
{
    const HDROP hDrop = CreateDropFiles({"/data/first.dcm", "/x"}, POINT{3, 4});
    struct Case
    {
        UINT iFile;
        bool bBuffer;
        UINT cch;
        UINT nExpected;
        const char* pszExpected;
    };
    const Case cases[] = {
        {0xFFFFFFFF, false, 0, 2, nullptr},
        {0, false, 0, 15, nullptr},
        {0, true, 260, 15, "/data/first.dcm"},
        {0, true, 6, 5, "/data"},
        {1, true, 260, 2, "/x"},
        {2, true, 260, 0, nullptr},
        {0, true, 0, 0, nullptr},
    };
    for (const Case& c : cases)
    {
        char buffer[260] = "unchanged";
        EXPECT_EQ(DragQueryFileA(hDrop, c.iFile, c.bBuffer ? buffer : nullptr, c.cch), c.nExpected)
            << c.iFile << " " << c.cch;
        if (c.pszExpected != nullptr)
        {
            EXPECT_STREQ(buffer, c.pszExpected);
        }
    }
    POINT pt{};
    EXPECT_TRUE(DragQueryPoint(hDrop, &pt));
    EXPECT_EQ(pt.x, 3);
    DragFinish(hDrop);
}

TEST_F(OleDragDropTest, ABlockWhosePathsRunOffItsEndGivesWhatIsSound)
{
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, sizeof(DROPFILES) + 4);
    auto* pBlock = static_cast<BYTE*>(GlobalLock(hBlock));
    const DROPFILES header{sizeof(DROPFILES), {0, 0}, FALSE, FALSE};
    std::memcpy(pBlock, &header, sizeof(header));
    std::memcpy(pBlock + sizeof(DROPFILES), "/a\0/b", 4); // the second has no end
    GlobalUnlock(hBlock);
    const auto hDrop = reinterpret_cast<HDROP>(hBlock);
    EXPECT_EQ(GetDropFilesPaths(hDrop), std::vector<std::string>{"/a"});
    DROPFILES bad = header;
    bad.pFiles = 4096;
    std::memcpy(GlobalLock(hBlock), &bad, sizeof(bad));
    GlobalUnlock(hBlock);
    EXPECT_EQ(DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0), 0U);
    DragFinish(hDrop);
}

TEST_F(OleDragDropTest, TheOleClipboardRendersAtOnceAndReadsTheClipboardBack)
{
    COleDataStore* pData = COleDataStore::Create();
    pData->SetBytes(CF_TEXT, "a\tb", 4);
    ASSERT_EQ(OleSetClipboard(pData), S_OK);
    EXPECT_EQ(OleIsCurrentClipboard(pData), S_OK);
    pData->Release();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "a\tb");
    GlobalUnlock(GetClipboardData(CF_TEXT));
    CloseClipboard();

    IDataObject* pRead = nullptr;
    ASSERT_EQ(OleGetClipboard(&pRead), S_OK);
    EXPECT_EQ(TextOf(pRead), "a\tb");
    EXPECT_EQ(GetDataObjectFormats(pRead), std::vector<CLIPFORMAT>{CF_TEXT});
    FORMATETC dib{CF_DIB, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(pRead->QueryGetData(&dib), DV_E_FORMATETC);

    // Another writer: the object set before is no longer the clipboard's,
    // and the reader sees the new contents.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(GlobalLock(hText), "xy", 3);
    GlobalUnlock(hText);
    SetClipboardData(CF_TEXT, hText);
    CloseClipboard();
    EXPECT_EQ(OleIsCurrentClipboard(pData), S_FALSE);
    EXPECT_EQ(TextOf(pRead), "xy");
    pRead->Release();
}
} // namespace

namespace
{
TEST(UriListTest, LocalFileUrisBecomePathsAndTheRestIsLeftOut)
{
    struct Case
    {
        const char* pszList;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"file:///a%20b/c.dcm\r\n", {"/a b/c.dcm"}},
        {"FILE://localhost/x\nfile:/y\n", {"/x", "/y"}},
        {"# comment\r\nhttp://host/z\r\nfile://other/z\r\nfile:///ok\r\n", {"/ok"}},
        {"file:///bad%G1escape%4", {"/bad%G1escape%4"}},
        {"file:///cut%00short\r\nfile:relative\r\n", {}},
        {"file:///%C3%A9t%C3%A9", {"/\xC3\xA9t\xC3\xA9"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathsOfUriList(c.pszList), c.expected) << c.pszList;
}

TEST(UriListTest, PathsGoOutEscapedAndComeBackTheSame)
{
    const std::vector<std::string> paths{"/tmp/two words#1.dcm", "/\xC3\xA9/100%.txt"};
    const std::string list = UriListOfPaths(paths);
    EXPECT_EQ(list, "file:///tmp/two%20words%231.dcm\r\nfile:///%C3%A9/100%25.txt\r\n");
    EXPECT_EQ(PathsOfUriList(list), paths);
}
} // namespace
