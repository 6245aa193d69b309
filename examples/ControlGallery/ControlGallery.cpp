// ControlGallery: one window with every control of the platform layer and
// of the control library, on the X display, until the window is closed.
#include "DisplayBackend.h"
#include "GalleryWindow.h"
#include "WinMessageQueue.h"

#include <cstdio>

namespace
{
// The gallery that ends the program when it goes.
class CGalleryMain : public CGalleryWindow
{
protected:
    void PostNcDestroy() override { PostQuitMessage(0); }
};
} // namespace

int main()
{
    if (!ChooseDisplayBackend().IsInteractive())
    {
        std::fprintf(stderr, "ControlGallery needs an X display (set DISPLAY)\n");
        return 2;
    }
    CGalleryMain gallery;
    if (!gallery.CreateGallery())
    {
        std::fprintf(stderr, "ControlGallery: a control cannot be created\n");
        return 1;
    }
    gallery.ShowWindow(SW_SHOW);
    gallery.UpdateWindow();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        if (gallery.m_hWnd != nullptr && IsDialogMessageA(gallery.m_hWnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
