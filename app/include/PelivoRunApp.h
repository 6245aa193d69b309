// CPelivoRunApp: the viewer program's application object. It lets one
// instance run (a second start brings the first one's window forward and
// ends), makes the single-document template that joins the empty document,
// the main frame and the viewer window, shows the frame maximised and opens
// the file named first on the command line. It serves the recent-file
// commands and the About box.
#pragma once

#include "AfxDocument.h"
#include "AfxWinApp.h"

#include <string>
#include <vector>

// The document the document/view model needs; it holds nothing.
class CPelivoV11Doc : public CDocument
{
    DECLARE_DYNCREATE(CPelivoV11Doc)
};

class CPelivoRunApp : public CWinApp
{
public:
    // The program's arguments, its own path first; pViewClass is the view
    // the frame hosts. One instance runs per instance name on the machine:
    // the executable's name unless another is given.
    CPelivoRunApp(std::vector<std::string> arguments, CRuntimeClass* pViewClass,
                  std::string instanceName = GetSingleInstanceName());

    BOOL InitInstance() override;
    int ExitInstance() override;

    // A DICOMDIR opens the browser; anything else loads as one image.
    void OpenPath(const char* pszPath);

    // The executable's file name without folder and extension: the name of
    // the mutex and of the property on the main window.
    static std::string GetSingleInstanceName();

protected:
    afx_msg void OnAppAbout();
    afx_msg BOOL OnOpenRecent(UINT nID);

    DECLARE_MESSAGE_MAP()

private:
    // The arguments after the program's own path, made full against the
    // current folder.
    static std::vector<std::string> WithFullPaths(std::vector<std::string> arguments);

    // The marked main window of a running instance, brought forward;
    // false when none is found.
    bool BringFirstInstanceForward() const;

    std::vector<std::string> m_arguments;
    CRuntimeClass* m_pViewClass;
    std::string m_strInstanceName;
    HANDLE m_hMutex = nullptr;
};
