// Value representation codes: the two letters of a VR in one 16-bit number,
// the first letter in the high byte ("UL" is 0x554C); 0 means not known.
// Also the facts every coder needs about a code: whether its explicit form
// carries a 4-byte length, and the unit its values are swapped in when the
// byte order changes.
#pragma once

#include <cstdint>

namespace VRCode
{

constexpr std::uint16_t Make(char first, char second)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(first) << 8 |
                                      static_cast<unsigned char>(second));
}

inline constexpr std::uint16_t Unknown = 0;
inline constexpr std::uint16_t AE = Make('A', 'E');
inline constexpr std::uint16_t AS = Make('A', 'S');
inline constexpr std::uint16_t AT = Make('A', 'T');
inline constexpr std::uint16_t CS = Make('C', 'S');
inline constexpr std::uint16_t DA = Make('D', 'A');
inline constexpr std::uint16_t DS = Make('D', 'S');
inline constexpr std::uint16_t DT = Make('D', 'T');
inline constexpr std::uint16_t FD = Make('F', 'D');
inline constexpr std::uint16_t FL = Make('F', 'L');
inline constexpr std::uint16_t IS = Make('I', 'S');
inline constexpr std::uint16_t LO = Make('L', 'O');
inline constexpr std::uint16_t LT = Make('L', 'T');
inline constexpr std::uint16_t OB = Make('O', 'B');
inline constexpr std::uint16_t OD = Make('O', 'D');
inline constexpr std::uint16_t OF = Make('O', 'F');
inline constexpr std::uint16_t OL = Make('O', 'L');
inline constexpr std::uint16_t OV = Make('O', 'V');
inline constexpr std::uint16_t OW = Make('O', 'W');
inline constexpr std::uint16_t PN = Make('P', 'N');
inline constexpr std::uint16_t SH = Make('S', 'H');
inline constexpr std::uint16_t SL = Make('S', 'L');
inline constexpr std::uint16_t SQ = Make('S', 'Q');
inline constexpr std::uint16_t SS = Make('S', 'S');
inline constexpr std::uint16_t ST = Make('S', 'T');
inline constexpr std::uint16_t SV = Make('S', 'V');
inline constexpr std::uint16_t TM = Make('T', 'M');
inline constexpr std::uint16_t UC = Make('U', 'C');
inline constexpr std::uint16_t UI = Make('U', 'I');
inline constexpr std::uint16_t UL = Make('U', 'L');
inline constexpr std::uint16_t UN = Make('U', 'N');
inline constexpr std::uint16_t UR = Make('U', 'R');
inline constexpr std::uint16_t US = Make('U', 'S');
inline constexpr std::uint16_t UT = Make('U', 'T');
inline constexpr std::uint16_t UV = Make('U', 'V');
// The library's own code of the item and delimitation tags.
inline constexpr std::uint16_t NO = Make('N', 'O');

constexpr char FirstLetter(std::uint16_t code)
{
    return static_cast<char>(code >> 8);
}
constexpr char SecondLetter(std::uint16_t code)
{
    return static_cast<char>(code & 0xFF);
}

// True for the VRs whose explicit form is two reserved bytes and a 4-byte
// length: OB, OD, OF, OL, OV, OW, SQ, SV, UC, UN, UR, UT, UV.
constexpr bool IsLongForm(std::uint16_t code)
{
    switch (code)
    {
    case OB:
    case OD:
    case OF:
    case OL:
    case OV:
    case OW:
    case SQ:
    case SV:
    case UC:
    case UN:
    case UR:
    case UT:
    case UV:
        return true;
    default:
        return false;
    }
}

// The width in bytes of one binary value of the VR, which a change of byte
// order reverses; 1 for texts and bytes, which keep their order.
constexpr int GetSwapUnit(std::uint16_t code)
{
    switch (code)
    {
    case AT:
    case OW:
    case SS:
    case US:
        return 2;
    case FL:
    case OF:
    case OL:
    case SL:
    case UL:
        return 4;
    case FD:
    case OD:
    case OV:
    case SV:
    case UV:
        return 8;
    default:
        return 1;
    }
}

} // namespace VRCode
