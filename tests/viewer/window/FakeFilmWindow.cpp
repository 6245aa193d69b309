#include "FakeFilmWindow.h"

#include "DICOMFile.h"
#include "DravelorClient.h"
#include "UID.h"
#include "WinSync.h"
#include "WinWindow.h"

#include <string>

namespace
{
constexpr const char* kClassName = "FakeFilmWindow";

void RegisterFakeFilmClass()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
}
} // namespace

CFakeFilmWindow::CFakeFilmWindow(HWND hParent)
{
    RegisterFakeFilmClass();
    const DWORD style = hParent != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    m_hWnd = CreateWindowExA(0, kClassName, DravelorClient::FilmWindowTitle, style, 0, 0, 200, 100,
                             hParent, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

CFakeFilmWindow::~CFakeFilmWindow()
{
    if (IsWindow(m_hWnd))
    {
        DestroyWindow(m_hWnd);
    }
}

FilmDelivery CFakeFilmWindow::ReadBlock(WPARAM wParam, LPARAM announcedSize)
{
    FilmDelivery delivery;
    delivery.wParam = wParam;
    delivery.announcedSize = announcedSize;
    const std::string name = std::string("Global\\") + DravelorClient::BlockName;
    const HANDLE hBlock = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    const void* pView = hBlock != nullptr ? MapViewOfFile(hBlock, FILE_MAP_READ, 0, 0,
                                                          static_cast<SIZE_T>(announcedSize))
                                          : nullptr;
    delivery.bBlockFound = pView != nullptr;
    if (pView != nullptr)
    {
        DICOMFile file;
        delivery.nBytesRead = file.Deserialize(static_cast<const unsigned char*>(pView),
                                               static_cast<int>(announcedSize));
        UID syntax;
        file.GetTransferSyntax(syntax);
        delivery.transferSyntax = static_cast<const char*>(syntax);
        delivery.patientName = static_cast<const char*>(file.GetLettra(0x0010, 0x0010));
        UnmapViewOfFile(pView);
    }
    if (hBlock != nullptr)
    {
        CloseHandle(hBlock);
    }
    return delivery;
}

LRESULT CALLBACK CFakeFilmWindow::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != DravelorClient::FilmMessage)
    {
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
    auto* self = reinterpret_cast<CFakeFilmWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    self->m_deliveries.push_back(ReadBlock(wParam, lParam));
    if (self->m_onDelivery)
        self->m_onDelivery(self->m_deliveries.back());
    return 1;
}
