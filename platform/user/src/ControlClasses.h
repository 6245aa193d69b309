// The window procedures of the layer's own window classes, and what a
// combo box's list tells its combo box.
#pragma once

#include "WinUserDefs.h"

LRESULT ButtonWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT EditWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT RichEditWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT StaticWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT ScrollBarWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT HeaderWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT ListViewWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT ProgressWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT DateTimePickerWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT ToolbarWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT StatusBarWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT ToolTipWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT TreeViewWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT TabControlWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// The list selected an item (bEnd: the choice is made, a dropped list
// closes), or a press elsewhere dismissed the dropped list.
void OnComboListSelection(HWND hCombo, int nIndex, bool bEnd);
void OnComboListDismissed(HWND hCombo);
