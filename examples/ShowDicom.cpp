// ShowDicom <file>: shows the first frame of a DICOM file in a window on the
// X display, drawn through the viewer's chain, until the window is closed.
// Without a display it draws the window off screen and says what it shows.
#include "AfxWin.h"
#include "DicomPicture.h"
#include "DisplayBackend.h"
#include "MemDC.h"
#include "WinMessageQueue.h"

#include <cstdio>
#include <string>

namespace
{
class CPictureFrame : public CFrameWnd
{
public:
    explicit CPictureFrame(HDIB dib) : m_dib(dib) {}
    ~CPictureFrame() override { GlobalFree(m_dib); }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }

    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CMemDC memDC(&dc);
        CRect client;
        GetClientRect(&client);
        memDC.FillSolidRect(&client, RGB(0, 0, 0));
        char* header = static_cast<char*>(GlobalLock(m_dib));
        CRect picture(0, 0, static_cast<int>(DIBWidth(header)),
                      static_cast<int>(DIBHeight(header)));
        GlobalUnlock(m_dib);
        PaintDIB(memDC.GetSafeHdc(), &picture, &picture, m_dib, nullptr);
    }

    afx_msg void OnDestroy()
    {
        CFrameWnd::OnDestroy();
        PostQuitMessage(0);
    }

    DECLARE_MESSAGE_MAP()

private:
    HDIB m_dib;
};

BEGIN_MESSAGE_MAP(CPictureFrame, CFrameWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_DESTROY()
END_MESSAGE_MAP()

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What the window shows, for a run without a display to show it on.
void SayWhatIsShown(const char* pszPath, HDIB dib)
{
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    std::printf("ShowDicom - %s: %ld x %ld, %s\n", FileNameOf(pszPath).c_str(),
                static_cast<long>(header->biWidth), static_cast<long>(header->biHeight),
                header->biBitCount == 24 ? "colour" : "grey");
    GlobalUnlock(dib);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: ShowDicom <DICOM file>\n");
        return 2;
    }
    // Without a display the window is drawn all the same, off screen, and
    // the program ends once it is painted.
    const bool bInteractive = ChooseDisplayBackend().IsInteractive();
    std::string error;
    const HDIB dib = MakeDicomPicture(argv[1], error);
    if (dib == nullptr)
    {
        std::fprintf(stderr, "ShowDicom: %s\n", error.c_str());
        return 1;
    }
    char* header = static_cast<char*>(GlobalLock(dib));
    CRect rect(60, 60, 60 + static_cast<int>(DIBWidth(header)),
               60 + static_cast<int>(DIBHeight(header)));
    GlobalUnlock(dib);
    const DWORD style = WS_OVERLAPPEDWINDOW;
    AdjustWindowRectEx(&rect, style, FALSE, 0);
    auto* pFrame = new CPictureFrame(dib);
    const std::string title = "ShowDicom - " + FileNameOf(argv[1]);
    if (!pFrame->Create(nullptr, title.c_str(), style, rect))
    {
        std::fprintf(stderr, "ShowDicom: the window cannot be created\n");
        return 1;
    }
    pFrame->ShowWindow(SW_SHOW);
    pFrame->UpdateWindow();
    if (!bInteractive)
    {
        SayWhatIsShown(argv[1], dib);
        pFrame->DestroyWindow();
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
