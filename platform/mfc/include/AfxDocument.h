// Documents and their templates: a CDocument holds the data its views
// show; a CSingleDocTemplate makes the one document, its frame (loaded from
// the template's resources) and its view, and re-initialises all three
// when a new or another document comes.
#pragma once

#include "AfxFrame.h"

#include <vector>

class CDocTemplate;

class PLATFORMUI_API CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)

public:
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Retitles the frames of the document's views.
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The title becomes the file's name; bAddToMRU adds it to the recent
    // files.
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    // Asks whether to save a modified document and saves it on Yes (through
    // the Save As dialog when it has no file yet); FALSE when the user
    // cancels or the save fails.
    virtual BOOL SaveModified();
    // Saves to lpszPathName, or with NULL to the file the user chooses in the
    // Save As dialog; bReplace makes the file the document's own (and a
    // recent file).
    virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
    // Saves to the document's own file; to a chosen one when it has none or
    // its file is read-only.
    virtual BOOL DoFileSave();

    // The document's own handlers, then its template's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    CDocument() = default;

    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_views;

    DECLARE_MESSAGE_MAP()
};

class PLATFORMUI_API CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)

public:
    // Parts of the template's string: "window title\ndocument name\n...".
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;
    virtual CDocument* CreateNewDocument();
    // The frame of the template's resources, with a view of the template's
    // class on pDoc.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // A new document when lpszPathName is NULL, else that file; NULL on
    // failure.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument);
    virtual BOOL SaveAllModified() = 0;
    virtual void CloseAllDocuments(BOOL bEndSession) = 0;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
};

class PLATFORMUI_API CSingleDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CSingleDocTemplate)

public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    // The second and later calls reuse the document, its frame and view,
    // and run their initial update again.
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    BOOL SaveAllModified() override;
    void CloseAllDocuments(BOOL bEndSession) override;
    CDocument* GetOnlyDocument() const { return m_pOnlyDoc; }
    // The document forgets its template when it goes.
    void RemoveDocument(CDocument* pDoc);

protected:
    CDocument* m_pOnlyDoc = nullptr;
};
