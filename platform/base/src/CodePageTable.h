// The code pages the layer converts, with what the multibyte string
// functions need to step over their characters. Private to PlatformBase.
#pragma once

#include "WinTypes.h"

#include <array>
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace platform
{

enum class enPageKind
{
    Utf8,
    SingleByte,
    DoubleByte
};

class CCodePage
{
public:
    CCodePage(UINT id, const char* iconvName, enPageKind kind,
              std::vector<std::pair<BYTE, BYTE>> leads);

    UINT GetId() const { return m_id; }
    enPageKind GetKind() const { return m_kind; }
    const char* GetIconvName() const { return m_iconvName; }

    bool IsLeadByte(BYTE b) const { return m_lead[b]; }
    // Byte length of the character at p (1 for a byte that starts no valid
    // character); never looks past a NUL.
    std::size_t GetCharLength(const unsigned char* p) const;

    // Single-byte pages: the byte's UTF-16 unit (undefined bytes map to
    // U+00xx so every byte round-trips) and the reverse look-up.
    char16_t GetWide(BYTE b) const;
    bool FindByte(char16_t unit, BYTE& byte) const;
    // Case mapping of single-byte characters: ASCII letters on every page,
    // and the page's own letters on a single-byte page.
    BYTE GetUpper(BYTE b) const;
    BYTE GetLower(BYTE b) const;

private:
    void BuildTables() const;
    bool LookUpByte(char16_t unit, BYTE& byte) const;

    UINT m_id;
    const char* m_iconvName;
    enPageKind m_kind;
    std::array<bool, 256> m_lead{};
    mutable std::once_flag m_built;
    mutable std::array<char16_t, 256> m_wide{};
    mutable std::vector<std::pair<char16_t, BYTE>> m_reverse;
    mutable std::array<BYTE, 256> m_upper{};
    mutable std::array<BYTE, 256> m_lower{};
};

// The page for a code-page number (CP_ACP, CP_THREAD_ACP and CP_OEMCP
// resolved), or null when the layer cannot convert it.
const CCodePage* FindCodePage(UINT codePage);
const CCodePage& GetAnsiCodePage();

// Decodes bytes of a page into UTF-16 / encodes UTF-16 into a page. Return
// false only when strict is set and the input holds something the page
// cannot represent.
bool DecodeText(const CCodePage& page, const char* text, std::size_t length, bool strict,
                std::u16string& out);
bool EncodeText(const CCodePage& page, const char16_t* text, std::size_t length, bool strict,
                const std::string& defaultChar, bool& usedDefault, std::string& out);

} // namespace platform
