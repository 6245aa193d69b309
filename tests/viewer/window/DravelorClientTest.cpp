#include "DravelorClient.h"

#include "../../platform/FailOnBlockHarness.h"
#include "../../platform/base/ChildProgram.h"
#include "DICOMFile.h"
#include "FakeFilmWindow.h"
#include "LogTestSupport.h"
#include "OutsideClient.h"
#include "UID.h"
#include "X11Backend.h"
#include "XvfbServer.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

namespace
{
class DravelorClientTest : public QuillonLogTest
{
protected:
    void SetUp() override { OpenLog(); }

    // A small file in the transfer syntax, without pixel data.
    static std::unique_ptr<DICOMFile> MakeFile(const UID& syntax)
    {
        auto file = std::make_unique<DICOMFile>();
        file->Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.7"));
        file->Add(0x0008, 0x0018, UID("1.2.840.84658685.40.1"));
        file->Add(0x0008, 0x0060, "OT");
        file->Add(0x0010, 0x0010, "Film^Patient");
        file->Add(0x0010, 0x0020, "FILM-1");
        file->SetTransferSyntax(syntax);
        return file;
    }

    // The lines written since the log held before, without their times (the
    // window harness runs a clock of its own).
    std::string LinesSince(const std::string& before) const
    {
        std::string lines;
        std::istringstream appended(ReadLog().substr(before.size()));
        for (std::string line; std::getline(appended, line);)
        {
            lines += line.substr(std::min<std::size_t>(line.size(), 10)) + "\n";
        }
        return lines;
    }

    CFailOnBlockHarness m_harness;
};

TEST_F(DravelorClientTest, FilesReachTheFilmWindowInTheirSyntaxImplicitOnesAsExplicit)
{
    struct Case
    {
        const UID& sent;
        const UID& arrived;
    };
    const Case cases[] = {
        {UidTransferLittleEndian, UidTransferLittleEndianExplicit},
        {UidTransferLittleEndianExplicit, UidTransferLittleEndianExplicit},
        {UidTransferJpegBaselineProcess1, UidTransferJpegBaselineProcess1},
    };
    CFakeFilmWindow film;
    DravelorClient::EnsureFilmWindow();
    ASSERT_EQ(DravelorClient::FindFilmWindow(), film.GetHandle());
    for (const Case& c : cases)
    {
        const std::unique_ptr<DICOMFile> file = MakeFile(c.sent);
        const int length = file->Serialize(nullptr, 0);
        ASSERT_TRUE(DravelorClient::AddDicomFile(file.get())) << c.sent;
        ASSERT_FALSE(film.GetDeliveries().empty());
        const FilmDelivery& got = film.GetDeliveries().back();
        EXPECT_TRUE(got.bBlockFound);
        EXPECT_EQ(got.wParam, 0U);
        EXPECT_EQ(got.announcedSize, length + 10240) << "the block's size, not the file's";
        EXPECT_GT(got.nBytesRead, 0);
        EXPECT_EQ(got.transferSyntax, static_cast<const char*>(c.arrived));
        EXPECT_EQ(got.patientName, "Film^Patient");
    }
    EXPECT_FALSE(CFakeFilmWindow::ReadBlock(0, 4096).bBlockFound)
        << "the block lives only while the program handles its message";
}

TEST_F(DravelorClientTest, TheFilmWindowIsFoundDepthFirstAndKeptWhileItLives)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "FilmHostFrame";
    RegisterClassA(&wc);
    const HWND hFrame = CreateWindowExA(0, wc.lpszClassName, "Dravelo", WS_OVERLAPPEDWINDOW, 0, 0,
                                        400, 300, nullptr, nullptr, nullptr, nullptr);
    const HWND hPanel = CreateWindowExA(0, wc.lpszClassName, "Dravelo.MainWindow.", WS_CHILD, 0, 0,
                                        300, 200, hFrame, nullptr, nullptr, nullptr);
    auto nested = std::make_unique<CFakeFilmWindow>(hPanel);
    const std::string before = ReadLog();
    EXPECT_EQ(DravelorClient::FindFilmWindow(), nested->GetHandle());
    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "Enter DravelorClient::FindFilmWindow\r\n"
                  "Leave DravelorClient::FindFilmWindow, FilmMainWindow : 0x%x\r\n",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(nested->GetHandle())));
    EXPECT_EQ(LinesSince(before), expected);

    // A newer film window on top is not looked for while the kept one lives.
    CFakeFilmWindow topLevel;
    const std::string kept = ReadLog();
    DravelorClient::EnsureFilmWindow();
    EXPECT_EQ(ReadLog(), kept);
    const std::unique_ptr<DICOMFile> file = MakeFile(UidTransferLittleEndianExplicit);
    ASSERT_TRUE(DravelorClient::AddDicomFile(file.get()));
    EXPECT_EQ(nested->GetDeliveries().size(), 1U);

    nested.reset();
    DravelorClient::EnsureFilmWindow();
    ASSERT_TRUE(DravelorClient::AddDicomFile(file.get()));
    EXPECT_EQ(topLevel.GetDeliveries().size(), 1U);
    EXPECT_EQ(DravelorClient::FindFilmWindow(), topLevel.GetHandle());
}

TEST_F(DravelorClientTest, WithoutAFilmProgramNothingIsHandedOver)
{
    DravelorClient::EnsureFilmWindow();
    const std::unique_ptr<DICOMFile> file = MakeFile(UidTransferLittleEndianExplicit);
    const std::string before = ReadLog();
    EXPECT_FALSE(DravelorClient::AddDicomFile(file.get()));
    const std::string lines = ReadLog().substr(before.size());
    EXPECT_NE(lines.find("is NOT a valid window !"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("MemMapFile"), std::string::npos) << lines;
    EXPECT_FALSE(DravelorClient::AddDicomFile(nullptr));
}

TEST_F(DravelorClientTest, AnEmptyFileIsRefusedBeforeTheWindowIsLookedAt)
{
    CFakeFilmWindow film;
    DravelorClient::FindFilmWindow();
    DICOMFile empty;
    const std::string before = ReadLog();
    EXPECT_FALSE(DravelorClient::AddDicomFile(&empty));
    EXPECT_EQ(LinesSince(before), "Enter DravelorClient::AddDicomFile\r\n"
                                  "DicomFile is empty ?!\r\n");
    EXPECT_TRUE(film.GetDeliveries().empty());
}
TEST_F(DravelorClientTest, AFilmProgramInAnotherProcessReadsTheFileWhileTheMessageIsHandled)
{
    CXvfbServer server(640, 480);
    ASSERT_TRUE(server.IsRunning()) << server.GetError();
    CX11Backend display(server.GetDisplayName().c_str());
    ASSERT_TRUE(display.IsOpen()) << display.GetOpenError();
    CDisplayBackend* pPrevious = SetDisplayBackend(&display);
    CChildProgram film(std::string(SUITE_OUTPUT_DIR) + "/FilmWindowProbe", {},
                       {"DISPLAY=" + server.GetDisplayName(), "PELIVO_DISPLAY=x11"});
    const HWND hFilm = reinterpret_cast<HWND>(WindowInLine(film.WaitForLine("ready")));

    DravelorClient::EnsureFilmWindow();
    EXPECT_EQ(DravelorClient::FindFilmWindow(), hFilm);
    const std::unique_ptr<DICOMFile> file = MakeFile(UidTransferLittleEndian);
    const int length = file->Serialize(nullptr, 0);
    EXPECT_TRUE(DravelorClient::AddDicomFile(file.get()));
    std::istringstream received(film.WaitForLine("received"));
    std::string word;
    long announced = 0;
    int bytesRead = 0;
    std::string syntax;
    std::string patient;
    received >> word >> announced >> bytesRead >> syntax >> patient;
    EXPECT_EQ(word, "received");
    EXPECT_EQ(announced, length + 10240);
    EXPECT_GT(bytesRead, 0) << "the block still held the file";
    EXPECT_EQ(syntax, "1.2.840.10008.1.2.1");
    EXPECT_EQ(patient, "Film^Patient");

    film.CloseInput();
    EXPECT_EQ(film.Wait(), 0);
    EXPECT_FALSE(DravelorClient::AddDicomFile(file.get())) << "the film program is gone";
    SetDisplayBackend(pPrevious);
}
} // namespace
