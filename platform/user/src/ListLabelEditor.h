// The in-place editor a list view puts over an item's label: an ordinary
// edit control, so typing goes through the edit's own keyboard path, whose
// Enter, Escape and loss of focus end the editing by telling the list.
#pragma once

#include "WinUser.h"

#include <string>

class ListLabelEditor
{
public:
    // The message the editor sends its list when the editing ends; wParam
    // TRUE when cancelled.
    static constexpr UINT kEndMessage = 0x1000 + 0xF0;

    // A hidden edit over rcLabel (list client coordinates) holding text, in
    // the list's font; null when it cannot be made.
    HWND Create(HWND hList, const RECT& rcLabel, const std::string& text, HFONT hFont);
    // Shows the edit with all its text selected and gives it the focus.
    void Show() const;
    // The edit's text, then the edit destroyed; the focus goes back to the
    // list when the edit held it.
    std::string Destroy();

    HWND GetWindow() const { return m_hEdit; }
    bool IsActive() const { return m_hEdit != nullptr; }

private:
    HWND m_hEdit = nullptr;
    HWND m_hList = nullptr;
};
