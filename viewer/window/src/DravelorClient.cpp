#include "DravelorClient.h"

#include "DICOMFile.h"
#include "MemMapFile.h"
#include "QuillonLog.h"
#include "UID.h"
#include "VeltaroLog.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace
{
constexpr int kTitleBufferSize = 256;

// The film window, once found, for the rest of the process.
HWND gFilmWindow = nullptr;

unsigned int PrintableHandle(HWND hWnd)
{
    return static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(hWnd));
}

bool IsFilmWindowTitle(HWND hWnd)
{
    char title[kTitleBufferSize] = {};
    GetWindowTextA(hWnd, title, kTitleBufferSize);
    return std::strcmp(title, DravelorClient::FilmWindowTitle) == 0;
}

// The window itself when it is the film window, else the first of its
// descendants that is, searched depth first.
HWND SearchWindowTree(HWND hWnd)
{
    if (IsFilmWindowTitle(hWnd))
    {
        return hWnd;
    }
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        if (const HWND hFound = SearchWindowTree(hChild))
        {
            return hFound;
        }
    }
    return nullptr;
}
} // namespace

HWND DravelorClient::FindFilmWindow()
{
    quillon::_debug("Enter DravelorClient::FindFilmWindow");
    for (HWND hTop = GetWindow(GetDesktopWindow(), GW_CHILD); hTop != nullptr;
         hTop = GetWindow(hTop, GW_HWNDNEXT))
    {
        if (const HWND hFound = SearchWindowTree(hTop))
        {
            gFilmWindow = hFound;
            break;
        }
    }
    quillon::_debug("Leave DravelorClient::FindFilmWindow, FilmMainWindow : 0x%0x",
                    PrintableHandle(gFilmWindow));
    return gFilmWindow;
}

void DravelorClient::EnsureFilmWindow()
{
    if (!IsWindow(gFilmWindow))
    {
        FindFilmWindow();
    }
}

bool DravelorClient::AddDicomFile(DICOMFile* file)
{
    quillon::_debug("Enter DravelorClient::AddDicomFile");
    if (file == nullptr)
    {
        return false;
    }
    if (file->IsEmpty())
    {
        quillon::_error("DicomFile is empty ?!");
        return false;
    }
    if (!IsWindow(gFilmWindow))
    {
        quillon::_error("Leave DravelorClient::IsFilmWindow, 0x%0x is NOT a valid window !",
                        PrintableHandle(gFilmWindow));
        return false;
    }
    const int length = file->Serialize(nullptr, 0);
    if (length <= 0)
    {
        quillon::_error("Leave DravelorClient::AddDicomFile, length is 0");
        return false;
    }
    const unsigned int size = static_cast<unsigned int>(length) + BlockSpare;
    MemMapFile block;
    if (!block.Create(BlockName, size) || block.GetBuffer() == nullptr)
    {
        quillon::_error("Leave DravelorClient::AddDicomFile, MemMapFile.GetBuffer return NULL ?!");
        block.Close();
        return false;
    }
    UID syntax;
    file->GetTransferSyntax(syntax);
    if (syntax == UidTransferLittleEndian)
    {
        file->ConvertTo(UidTransferLittleEndianExplicit);
    }
    const int limit = static_cast<int>(std::min<unsigned int>(size, INT_MAX));
    const int written = file->Serialize(static_cast<unsigned char*>(block.GetBuffer()), limit);
    if (written <= 0 || written > limit)
    {
        quillon::_error(
            "Leave DravelorClient::AddDicomFile, Failed to invoke DicomFile::Serialize");
        DumpDicomFile(file);
        block.Close();
        return false;
    }
    SendMessageA(gFilmWindow, FilmMessage, 0, static_cast<LPARAM>(size));
    block.Close();
    return true;
}
