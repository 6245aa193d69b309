#include "AfxMenu.h"
#include "AfxWinApp.h"

#include <algorithm>

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_nSize(std::max(1, nSize))
{
}

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    if (lpszPathName == nullptr || *lpszPathName == '\0')
        return;
    const CString strPath(lpszPathName);
    // File names on this system differ by case: only the same name moves up.
    const auto it = std::find(m_names.begin(), m_names.end(), strPath);
    if (it != m_names.end())
        m_names.erase(it);
    m_names.insert(m_names.begin(), strPath);
    if (static_cast<int>(m_names.size()) > m_nSize)
        m_names.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount())
        m_names.erase(m_names.begin() + nIndex);
}

void CRecentFileList::ReadList()
{
    m_names.clear();
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, static_cast<int>(m_nStart) + i + 1);
        const CString strPath = pApp->GetProfileString(m_strSectionName, strEntry, "");
        if (!strPath.IsEmpty())
            m_names.push_back(strPath);
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, static_cast<int>(m_nStart) + i + 1);
        pApp->WriteProfileString(m_strSectionName, strEntry,
                                 i < GetCount() ? static_cast<LPCSTR>(m_names[i]) : nullptr);
    }
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (pMenu == nullptr)
    {
        pCmdUI->Enable(GetCount() > 0);
        return;
    }
    if (m_strOriginal.IsEmpty())
        pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    if (GetCount() == 0)
    {
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    // The items shown last go; the files come in their place.
    for (int i = 0; i < m_nSize; ++i)
        pMenu->DeleteMenu(pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);
    for (int i = 0; i < GetCount(); ++i)
    {
        CString strItem;
        strItem.Format("&%d %s", i + 1, static_cast<LPCSTR>(m_names[static_cast<size_t>(i)]));
        pMenu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID++, strItem);
    }
    // The walk goes on after the last file.
    --pCmdUI->m_nIndex;
    pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}
