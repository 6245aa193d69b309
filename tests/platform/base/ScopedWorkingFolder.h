// A fresh folder made current for one test; the previous folder comes back
// and the fresh one is removed after.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class CScopedWorkingFolder
{
public:
    CScopedWorkingFolder() : m_previous(std::filesystem::current_path())
    {
        char pattern[] = "/tmp/workfolderXXXXXX";
        m_folder = mkdtemp(pattern);
        std::filesystem::current_path(m_folder);
    }
    ~CScopedWorkingFolder()
    {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_folder);
    }
    CScopedWorkingFolder(const CScopedWorkingFolder&) = delete;
    CScopedWorkingFolder& operator=(const CScopedWorkingFolder&) = delete;

    const std::string& GetFolder() const { return m_folder; }

private:
    std::filesystem::path m_previous;
    std::string m_folder;
};
