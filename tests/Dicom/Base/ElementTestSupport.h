// Helpers shared by the element, set, stream and coder tests.
#pragma once

#include "DataDictionary.h"
#include "VR.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The tests of elements and coders need the library's dictionary built;
// they leave it as they found it, since other tests expect it empty.
class DictionaryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DataDictionary& dictionary = DataDictionary::GetLibraryDictionary();
        m_built = dictionary.IsEmpty();
        if (m_built)
        {
            dictionary.Build();
        }
    }
    void TearDown() override
    {
        if (m_built)
        {
            DataDictionary::GetLibraryDictionary().Detach();
        }
    }

private:
    bool m_built = false;
};

inline std::vector<std::uint8_t> BytesOf(const VR& element)
{
    const auto* data = static_cast<const std::uint8_t*>(element.GetData());
    return std::vector<std::uint8_t>(data, data + element.GetLength());
}

// Makes the element's value exactly these bytes (rounded up to even).
inline void SetBytes(VR& element, const std::vector<std::uint8_t>& bytes)
{
    void* data = element.GetDataSetLength(static_cast<unsigned int>(bytes.size()));
    if (!bytes.empty())
    {
        std::memcpy(data, bytes.data(), bytes.size());
    }
}

inline std::string TextOf(const VR& element)
{
    return std::string(static_cast<const char*>(element.GetData()), element.GetLength());
}
