// The registered window classes. A class belongs to the module that
// registered it; look-ups by name try the asking module first, then any.
#pragma once

#include "WinUserDefs.h"

#include <memory>
#include <string>
#include <vector>

struct WindowClassData
{
    ATOM nAtom = 0;
    std::string name;
    UINT nStyle = 0;
    WNDPROC wndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HICON hIconSm = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    std::string menuName;
    std::vector<BYTE> extraBytes;
};

class WindowClassTable
{
public:
    static WindowClassTable& Get();

    // Null with ERROR_CLASS_ALREADY_EXISTS when the module has one of that name.
    std::shared_ptr<WindowClassData> Register(const WNDCLASSEXA& wndClass);
    bool Unregister(LPCSTR lpszName, HINSTANCE hInstance);
    // A name may also be an atom (MAKEINTATOM).
    std::shared_ptr<WindowClassData> Find(LPCSTR lpszName, HINSTANCE hInstance) const;

private:
    std::vector<std::shared_ptr<WindowClassData>> m_classes;
    ATOM m_nNextAtom = 0xC000;
};

// The brush a class background names: a real brush, or a system colour
// index plus one.
HBRUSH ResolveClassBrush(HBRUSH hbrBackground);
