// The list view's label editor: an edit control subclassed for the keys
// that end an editing. The original procedure is kept in a property, so
// that a caller may subclass the edit again on top of it.
#include "ListLabelEditor.h"

#include "WinControls.h"
#include "WinInput.h"
#include "WinWindow.h"

#include <vector>

namespace
{
const char kOriginalProc[] = "ListLabelEditor.Proc";

LRESULT CallOriginal(HWND hEdit, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const auto proc = reinterpret_cast<WNDPROC>(GetPropA(hEdit, kOriginalProc));
    return proc != nullptr ? CallWindowProcA(proc, hEdit, nMsg, wParam, lParam)
                           : DefWindowProcA(hEdit, nMsg, wParam, lParam);
}

void TellList(HWND hEdit, bool bCancel)
{
    SendMessageA(GetParent(hEdit), ListLabelEditor::kEndMessage, bCancel ? TRUE : FALSE,
                 reinterpret_cast<LPARAM>(hEdit));
}

LRESULT CALLBACK EditorProc(HWND hEdit, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_GETDLGCODE:
        // Enter and Escape belong to the editor, not to a dialog around it.
        return CallOriginal(hEdit, nMsg, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
        {
            TellList(hEdit, wParam == VK_ESCAPE);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 27)
            return 0;
        break;
    case WM_KILLFOCUS:
    {
        const LRESULT result = CallOriginal(hEdit, nMsg, wParam, lParam);
        TellList(hEdit, false);
        return result;
    }
    case WM_NCDESTROY:
    {
        const LRESULT result = CallOriginal(hEdit, nMsg, wParam, lParam);
        RemovePropA(hEdit, kOriginalProc);
        return result;
    }
    default:
        break;
    }
    return CallOriginal(hEdit, nMsg, wParam, lParam);
}
} // namespace

HWND ListLabelEditor::Create(HWND hList, const RECT& rcLabel, const std::string& text, HFONT hFont)
{
    m_hList = hList;
    m_hEdit =
        CreateWindowExA(0, "Edit", text.c_str(), WS_CHILD | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL,
                        rcLabel.left, rcLabel.top, rcLabel.right - rcLabel.left,
                        rcLabel.bottom - rcLabel.top, hList, nullptr, nullptr, nullptr);
    if (m_hEdit == nullptr)
        return nullptr;
    SendMessageA(m_hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    SetPropA(m_hEdit, kOriginalProc,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(m_hEdit, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(&EditorProc))));
    return m_hEdit;
}

void ListLabelEditor::Show() const
{
    ShowWindow(m_hEdit, SW_SHOW);
    SendMessageA(m_hEdit, EM_SETSEL, 0, -1);
    SetFocus(m_hEdit);
}

std::string ListLabelEditor::Destroy()
{
    const HWND hEdit = m_hEdit;
    m_hEdit = nullptr;
    if (hEdit == nullptr || !IsWindow(hEdit))
        return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(hEdit)) + 1);
    GetWindowTextA(hEdit, buffer.data(), static_cast<int>(buffer.size()));
    const bool bHadFocus = GetFocus() == hEdit;
    DestroyWindow(hEdit);
    if (bHadFocus && IsWindow(m_hList))
        SetFocus(m_hList);
    return std::string(buffer.data());
}
