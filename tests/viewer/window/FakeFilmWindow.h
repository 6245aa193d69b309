// A stand-in for the film-composing program's main window: a window titled
// as that program's that, when a file is announced, opens the named block,
// reads the DICOM file in it and keeps what it found.
#pragma once

#include "WinUserDefs.h"

#include <functional>
#include <string>
#include <vector>

struct FilmDelivery
{
    WPARAM wParam = 0;
    LPARAM announcedSize = 0;
    bool bBlockFound = false;
    int nBytesRead = 0; // what the file took of the block
    std::string transferSyntax;
    std::string patientName;
};

class CFakeFilmWindow
{
public:
    // A top-level window, or a child of hParent.
    explicit CFakeFilmWindow(HWND hParent = nullptr);
    ~CFakeFilmWindow();
    CFakeFilmWindow(const CFakeFilmWindow&) = delete;
    CFakeFilmWindow& operator=(const CFakeFilmWindow&) = delete;

    HWND GetHandle() const { return m_hWnd; }
    const std::vector<FilmDelivery>& GetDeliveries() const { return m_deliveries; }
    // Called with each delivery while the announcement is handled.
    void OnDelivery(std::function<void(const FilmDelivery&)> handler)
    {
        m_onDelivery = std::move(handler);
    }

    // What the film program finds in the block now, for a file announced
    // with that size.
    static FilmDelivery ReadBlock(WPARAM wParam, LPARAM announcedSize);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    std::vector<FilmDelivery> m_deliveries;
    std::function<void(const FilmDelivery&)> m_onDelivery;
};
