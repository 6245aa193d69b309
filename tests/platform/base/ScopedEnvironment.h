// Keeps an environment variable a test changes and puts it back after: set
// to its old value, or unset again when it was not set.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class CScopedEnvironment
{
public:
    explicit CScopedEnvironment(const char* pszName) : m_strName(pszName)
    {
        if (const char* pszValue = std::getenv(pszName))
            m_saved = pszValue;
    }
    ~CScopedEnvironment()
    {
        if (m_saved)
            setenv(m_strName.c_str(), m_saved->c_str(), 1);
        else
            unsetenv(m_strName.c_str());
    }
    CScopedEnvironment(const CScopedEnvironment&) = delete;
    CScopedEnvironment& operator=(const CScopedEnvironment&) = delete;

private:
    std::string m_strName;
    std::optional<std::string> m_saved;
};
