// CDicomDirImport: hands the images chosen in the DICOMDIR browser to the
// active view, one handle at a time, with the open mode of its group. The
// frame it works for is reached through IDicomDirImportTarget. Between two
// handles the import lets painting, timers and every other message run,
// dropping only mouse and keyboard input, and posts its progress to the
// frame as WM_IMPORT_PROGRESS.
#pragma once

#include "AfxString.h"
#include "Corvane.h"
#include "WinUser.h"

#include <list>

class CDICOMDIRView;

constexpr UINT WM_IMPORT_PROGRESS = WM_USER + 45;
constexpr UINT WM_OPEN_HOLDER = WM_USER + 201;

// What the import needs of the main frame and its view.
class IDicomDirImportTarget
{
public:
    virtual ~IDicomDirImportTarget() = default;
    virtual HWND GetFrameWindow() const = 0;
    // Null without an active view.
    virtual HWND GetActiveViewWindow() const = 0;
    virtual void ClearScreen() = 0;
    virtual void SetLoading(bool bLoading) = 0;
    virtual void SetViewLayout(int nRows, int nColumns) = 0;
    virtual void SetSeriesLayout(int nRows, int nColumns) = 0;
    // After the last handle: labels, overlays and ruler switched on when the
    // view shows images, status bar and toolbar brought up to date.
    virtual void FinishImport() = 0;
};

class CDicomDirImport
{
public:
    // What the frame does on the dialog's WM_DICOMDIR_SELECTION: a view
    // (not a review) clears the screen first. 0 when the dialog has no
    // window, else 1.
    int ImportSelection(CDICOMDIRView* pView, IDicomDirImportTarget& target);
    // 0 without an active view or with no handle, else 1.
    int ImportHolders(std::list<Corvane>& holders, IDicomDirImportTarget& target);
    // The frame refuses to close meanwhile.
    bool IsImporting() const { return m_bImporting; }

    // 'f' for images grouped by study, 'e' by series, 'd' for any other.
    static WPARAM OpenModeOf(Corvane::enGroupBy enGroup);
    // The status-bar text of a progress message: the position counted from 1.
    static CString ProgressText(LPARAM lPosition);

private:
    // False when the frame or the view is gone or the program is quitting.
    bool PumpImportMessages(HWND hFrame, HWND hView);
    static void ChooseLayouts(Corvane& first, IDicomDirImportTarget& target);

    bool m_bImporting = false;
    bool m_bQuit = false;
    int m_nQuitCode = 0;
};
