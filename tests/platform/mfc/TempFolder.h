// A folder of its own for each test, removed afterwards; the current folder
// kept for a test that changes it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class TempFolder
{
public:
    TempFolder()
    {
        const testing::TestInfo* pInfo = testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path() /
                 ("mfc-" + std::to_string(getpid()) + "-" + pInfo->test_suite_name() + "-" +
                  pInfo->name());
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string PathOf(const std::string& strName) const { return (m_path / strName).string(); }

    std::string Write(const std::string& strName, const std::string& strContent) const
    {
        std::ofstream(PathOf(strName), std::ios::binary) << strContent;
        return PathOf(strName);
    }

    std::string Read(const std::string& strName) const
    {
        std::ifstream file(PathOf(strName), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

private:
    std::filesystem::path m_path;
};

// The current folder as it was before the test.
class CKeptWorkingFolder
{
public:
    CKeptWorkingFolder() : m_previous(std::filesystem::current_path()) {}
    ~CKeptWorkingFolder() { std::filesystem::current_path(m_previous); }
    CKeptWorkingFolder(const CKeptWorkingFolder&) = delete;
    CKeptWorkingFolder& operator=(const CKeptWorkingFolder&) = delete;

private:
    std::filesystem::path m_previous;
};
