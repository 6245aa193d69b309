// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class CTempFolder
{
public:
    CTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "platformXXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~CTempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string GetPath() const { return m_path; }
    std::string GetPath(const std::string& name) const { return m_path + "/" + name; }

    // Writes a file below the folder, creating its folders.
    std::string WriteFile(const std::string& name, const std::string& contents) const
    {
        const std::filesystem::path path = GetPath(name);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
        return path.string();
    }

    std::string ReadFile(const std::string& name) const
    {
        std::ifstream in(GetPath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string m_path;
};
