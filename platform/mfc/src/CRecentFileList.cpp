#include "AfxMenu.h"
#include "AfxWinApp.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace
{

// The path with as many of its first folders given up for "..." as it takes
// to fit nMax; the root stays, so the name still reads as a full path.
std::string AbbreviatePath(const std::string& path, size_t nMax, bool bAtLeastName)
{
    if (path.size() <= nMax)
        return path;
    const size_t nLastSlash = path.rfind('/');
    const std::string name = nLastSlash == std::string::npos ? path : path.substr(nLastSlash + 1);
    const std::string root = path.starts_with('/') ? "/" : "";
    for (size_t nPos = path.find('/', root.size()); nPos != std::string::npos && nPos <= nLastSlash;
         nPos = path.find('/', nPos + 1))
    {
        std::string candidate = root + "..." + path.substr(nPos);
        if (candidate.size() <= nMax)
            return candidate;
    }
    return name.size() <= nMax || bAtLeastName ? name : std::string();
}

// "&1" to "&9", then "1&0"; later numbers get no mnemonic.
CString MenuNumber(int nNumber)
{
    CString strNumber;
    if (nNumber < 10)
        strNumber.Format("&%d", nNumber);
    else if (nNumber == 10)
        strNumber = "1&0";
    else
        strNumber.Format("%d", nNumber);
    return strNumber;
}

} // namespace

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_nSize(std::max(1, nSize)), m_nMaxDispLen(std::max(1, nMaxDispLen))
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

CString CRecentFileList::GetEntryName(int nIndex) const
{
    CString strEntry;
    strEntry.Format(m_strEntryFormat, static_cast<int>(m_nStart) + nIndex + 1);
    return strEntry;
}

void CRecentFileList::ReadList()
{
    m_names.clear();
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        const CString strPath = pApp->GetProfileString(m_strSectionName, GetEntryName(i), "");
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
        pApp->WriteProfileString(m_strSectionName, GetEntryName(i),
                                 i < GetCount() ? static_cast<LPCSTR>(m_names[i]) : nullptr);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    const std::string path(static_cast<LPCSTR>(m_names[static_cast<size_t>(nIndex)]));
    std::string curDir(lpszCurDir != nullptr ? lpszCurDir : "",
                       lpszCurDir != nullptr ? static_cast<size_t>(std::max(0, nCurDir)) : 0u);
    const bool bHaveCurDir = !curDir.empty();
    while (curDir.ends_with('/'))
        curDir.pop_back();
    const size_t nLastSlash = path.rfind('/');
    const bool bInCurDir =
        nLastSlash == std::string::npos ||
        (bHaveCurDir && path.compare(0, nLastSlash, curDir) == 0 && nLastSlash == curDir.size());
    const std::string shown = bInCurDir ? path.substr(nLastSlash + 1) : path;
    strName =
        AbbreviatePath(shown, static_cast<size_t>(m_nMaxDispLen), bAtLeastName != FALSE).c_str();
    return TRUE;
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
    std::error_code error;
    const std::string curDir = std::filesystem::current_path(error).string();
    for (int i = 0; i < GetCount(); ++i)
    {
        CString strName;
        GetDisplayName(strName, i, curDir.c_str(), static_cast<int>(curDir.size()));
        // A '&' of the name is shown, not taken for the item's mnemonic.
        strName.Replace("&", "&&");
        const CString strItem = MenuNumber(static_cast<int>(m_nStart) + i + 1) + " " + strName;
        pMenu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID++, strItem);
    }
    // The walk goes on after the last file.
    --pCmdUI->m_nIndex;
    pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}
