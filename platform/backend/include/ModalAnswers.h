// Answers for modal windows. Message boxes, modal dialogs and the file,
// print and folder dialogs describe what they would show and ask here
// first: every request is recorded, an installed hook answers at once, and
// without one a display nobody can answer (headless) takes the request's
// default answer, so that no modal window ever waits in a test.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class enModalKind
{
    MessageBox,
    Dialog,
    FileDialog,
    PrintDialog,
    FolderDialog,
};

struct ModalRequest
{
    enModalKind kind = enModalKind::MessageBox;
    HWND hOwner = nullptr;
    std::string caption;
    std::string text;
    UINT nFlags = 0;       // MB_* flags, dialog options
    UINT nTemplateId = 0;  // a dialog template id, when there is one
    void* pData = nullptr; // the caller's record (OPENFILENAME, PRINTDLG...)
    INT_PTR nDefaultAnswer = 0;
};

// Returns the answer, or nullopt to let the modal window run.
using ModalAnswerHook = std::function<std::optional<INT_PTR>(const ModalRequest&)>;

// A null hook removes it.
PLATFORMUI_API void SetModalAnswerHook(ModalAnswerHook hook);
// The hook's answer; without one, the default when the display is not
// interactive (unless modal windows may run); nullopt when the modal window
// should run.
PLATFORMUI_API std::optional<INT_PTR> AskModalAnswer(const ModalRequest& request);
// With no hook answer, lets modal windows run even where nobody can answer
// them: for tests that drive a dialog or message box by script.
PLATFORMUI_API void SetModalWindowsRun(bool bRun);
PLATFORMUI_API const std::vector<ModalRequest>& GetModalRequests();
PLATFORMUI_API void ClearModalRequests();
