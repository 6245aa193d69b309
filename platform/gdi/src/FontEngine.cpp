#include "FontEngine.h"

#include "WinCodePage.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
constexpr double kPi = 3.14159265358979323846;

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

enum class enFamily
{
    Sans,
    Serif,
    Mono,
    Cjk,
};

enFamily Classify(const LOGFONTA& font)
{
    const std::string name = Lower(font.lfFaceName);
    static const char* const serif[] = {"times", "times new roman", "georgia", "roman"};
    static const char* const mono[] = {"courier new", "courier",        "fixedsys",
                                       "terminal",    "lucida console", "consolas"};
    static const char* const cjk[] = {"\xe5\xae\x8b\xe4\xbd\x93",
                                      "simsun",
                                      "nsimsun",
                                      "simhei",
                                      "ms song",
                                      "mingliu",
                                      "ms gothic",
                                      "gulim"};
    for (const char* n : serif)
        if (name == n)
            return enFamily::Serif;
    for (const char* n : mono)
        if (name == n)
            return enFamily::Mono;
    for (const char* n : cjk)
        if (name == n)
            return enFamily::Cjk;
    if (name.empty())
    {
        const int family = font.lfPitchAndFamily & 0xF0;
        if (family == FF_ROMAN)
            return enFamily::Serif;
        if (family == FF_MODERN || (font.lfPitchAndFamily & 0x0F) == FIXED_PITCH)
            return enFamily::Mono;
    }
    // "Arial", "MS Sans Serif", "MS Shell Dlg", "System", "Marlett" and every
    // other name take the sans-serif face.
    return enFamily::Sans;
}

struct FaceFile
{
    std::string file;
    int index = 0;
    std::string family;
    bool bold = false;
    bool italic = false;
};

// Asks fontconfig for a family; empty when the match is another family.
bool MatchFamily(const char* family, bool bold, bool italic, FaceFile& out,
                 const char* lang = nullptr)
{
    FcPattern* pattern = FcPatternCreate();
    if (family != nullptr)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    if (lang != nullptr)
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr)
        return false;
    FcChar8* file = nullptr;
    FcChar8* matchedFamily = nullptr;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
              FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch;
    if (ok)
    {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        out.file = reinterpret_cast<const char*>(file);
        out.index = index;
        out.family = reinterpret_cast<const char*>(matchedFamily);
        out.bold = weight >= FC_WEIGHT_DEMIBOLD;
        out.italic = slant != FC_SLANT_ROMAN;
        if (family != nullptr && Lower(out.family) != Lower(family))
            ok = false;
    }
    FcPatternDestroy(match);
    return ok;
}

// The installed face fontconfig prefers for a character; empty when no
// face has it.
std::string FileWithChar(char32_t ch, const char* lang, std::string* family)
{
    std::string file;
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* set = FcCharSetCreate();
    FcCharSetAddChar(set, ch);
    FcPatternAddCharSet(pattern, FC_CHARSET, set);
    if (lang != nullptr)
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result))
    {
        FcCharSet* matchSet = nullptr;
        FcChar8* path = nullptr;
        FcChar8* name = nullptr;
        if (FcPatternGetCharSet(match, FC_CHARSET, 0, &matchSet) == FcResultMatch &&
            FcCharSetHasChar(matchSet, ch) &&
            FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        {
            file = reinterpret_cast<const char*>(path);
            if (family != nullptr &&
                FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
                *family = reinterpret_cast<const char*>(name);
        }
        FcPatternDestroy(match);
    }
    FcCharSetDestroy(set);
    FcPatternDestroy(pattern);
    return file;
}

FaceFile ResolveFace(const LOGFONTA& font)
{
    const bool bold = font.lfWeight >= FW_SEMIBOLD;
    const bool italic = font.lfItalic != 0;
    FaceFile face;
    const enFamily family = Classify(font);
    if (family == enFamily::Cjk)
    {
        // Any installed face with Chinese characters (Noto Sans CJK,
        // WenQuanYi, ...); without one the sans-serif face stands in and
        // characters come from fallback faces one by one.
        face.file = FileWithChar(0x4E2D, "zh-cn", &face.family);
        if (!face.file.empty())
            return face;
    }
    static const char* const choices[][2] = {
        {"Liberation Sans", "DejaVu Sans"},
        {"Liberation Serif", "DejaVu Serif"},
        {"Liberation Mono", "DejaVu Sans Mono"},
        {"Liberation Sans", "DejaVu Sans"},
    };
    for (const char* name : choices[int(family)])
        if (MatchFamily(name, bold, italic, face))
            return face;
    MatchFamily(nullptr, bold, italic, face);
    return face;
}

long Round26(double v)
{
    return std::lround(v * 64.0);
}
} // namespace

RealFont::~RealFont()
{
    // Faces live as long as the engine; nothing to release per font.
}

FontEngine& FontEngine::Get()
{
    static FontEngine engine;
    return engine;
}

FontEngine::FontEngine()
{
    FcInit();
    // Releases fontconfig's configuration at exit, so leak checkers see a
    // clean process.
    std::atexit(FcFini);
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0)
        m_library = library;
}

FT_FaceRec_* FontEngine::OpenFace(const std::string& file, int index)
{
    static std::map<std::pair<std::string, int>, FT_Face> faces;
    auto key = std::make_pair(file, index);
    auto it = faces.find(key);
    if (it != faces.end())
        return it->second;
    FT_Face face = nullptr;
    if (m_library == nullptr ||
        FT_New_Face(static_cast<FT_Library>(m_library), file.c_str(), index, &face) != 0)
        face = nullptr;
    faces[key] = face;
    return face;
}

std::string FontEngine::MapFaceName(const LOGFONTA& font)
{
    return ResolveFace(font).family;
}

bool FontEngine::SetSize(RealFont& font, FT_FaceRec_* face)
{
    if (face == nullptr)
        return false;
    if (FT_Set_Char_Size(face, Round26(font.m_emX), Round26(font.m_emY), 72, 72) != 0)
        return false;
    FT_Matrix matrix{0x10000, 0, 0, 0x10000};
    if (font.m_escapement != 0)
    {
        const double c = std::cos(font.m_escapement);
        const double s = std::sin(font.m_escapement);
        matrix = FT_Matrix{FT_Fixed(std::lround(c * 65536)), FT_Fixed(std::lround(-s * 65536)),
                           FT_Fixed(std::lround(s * 65536)), FT_Fixed(std::lround(c * 65536))};
    }
    FT_Set_Transform(face, &matrix, nullptr);
    return true;
}

RealFont* FontEngine::Realize(const LOGFONTA& font, int deviceHeight, int deviceWidth)
{
    std::string key(reinterpret_cast<const char*>(&font), sizeof(LOGFONTA));
    key.append(reinterpret_cast<const char*>(&deviceHeight), sizeof(int));
    key.append(reinterpret_cast<const char*>(&deviceWidth), sizeof(int));
    auto it = m_fonts.find(key);
    if (it != m_fonts.end())
        return it->second.get();

    const FaceFile file = ResolveFace(font);
    FT_Face face = OpenFace(file.file, file.index);
    if (face == nullptr || face->units_per_EM == 0)
        return nullptr;
    auto real = std::make_unique<RealFont>();
    real->m_face = face;
    real->m_faceName = file.family;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double units = face->units_per_EM;
    double ascent = os2 ? os2->usWinAscent : face->ascender;
    double descent = os2 ? os2->usWinDescent : -face->descender;
    if (ascent + descent <= 0)
    {
        ascent = units * 0.9;
        descent = units * 0.2;
    }
    int height = deviceHeight == 0 ? 16 : deviceHeight;
    const double emY = height < 0 ? -height : height * units / (ascent + descent);
    const double scale = emY / units;
    const double avgUnits = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : units / 2;
    real->m_emY = emY;
    real->m_emX = deviceWidth > 0 ? deviceWidth * units / avgUnits : emY;
    const double scaleX = real->m_emX / units;
    real->m_escapement = font.lfEscapement * kPi / 1800.0;
    real->m_bSynthBold = font.lfWeight >= FW_SEMIBOLD && !file.bold;
    real->m_bSynthItalic = font.lfItalic != 0 && !file.italic;
    real->m_bUnderline = font.lfUnderline != 0;
    real->m_bStrikeOut = font.lfStrikeOut != 0;

    TEXTMETRICA& tm = real->m_metrics;
    tm.tmAscent = LONG(std::lround(ascent * scale));
    tm.tmDescent = LONG(std::lround(descent * scale));
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - LONG(std::lround(emY)));
    const double lineGap = face->height - (face->ascender - face->descender);
    tm.tmExternalLeading = std::max<LONG>(0, LONG(std::lround(lineGap * scale)));
    tm.tmAveCharWidth = std::max<LONG>(1, LONG(std::lround(avgUnits * scaleX)));
    tm.tmMaxCharWidth = LONG(std::lround((face->bbox.xMax - face->bbox.xMin) * scaleX));
    tm.tmWeight = font.lfWeight == 0 ? FW_NORMAL : font.lfWeight;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = '?';
    tm.tmBreakChar = ' ';
    tm.tmItalic = font.lfItalic ? 1 : 0;
    tm.tmUnderlined = font.lfUnderline ? 1 : 0;
    tm.tmStruckOut = font.lfStrikeOut ? 1 : 0;
    // Bit 0 set means variable pitch, as the Windows structure has it.
    const bool fixed = FT_IS_FIXED_WIDTH(face);
    const BYTE family = Classify(font) == enFamily::Serif  ? FF_ROMAN
                        : Classify(font) == enFamily::Mono ? FF_MODERN
                                                           : FF_SWISS;
    tm.tmPitchAndFamily = BYTE(family | (fixed ? 0 : 1) | 0x04);
    tm.tmCharSet = font.lfCharSet;

    real->m_nLineThickness = std::max(1, int(std::lround(face->underline_thickness * scale)));
    real->m_nUnderlinePos = std::max(1, int(std::lround(-face->underline_position * scale)));
    real->m_nStrikePos = os2 ? int(std::lround(os2->yStrikeoutPosition * scale))
                             : int(std::lround(tm.tmAscent * 0.3));
    RealFont* result = real.get();
    m_fonts.emplace(std::move(key), std::move(real));
    return result;
}

FT_FaceRec_* FontEngine::FaceForChar(RealFont& font, char32_t ch, std::uint32_t& glyphIndex)
{
    glyphIndex = FT_Get_Char_Index(font.m_face, ch);
    if (glyphIndex != 0 || ch < 0x80)
        return font.m_face;
    // A character missing from the face: a face that has it, CJK faces first.
    auto found = m_fallbackFiles.find(ch);
    if (found == m_fallbackFiles.end())
        found = m_fallbackFiles.emplace(ch, FileWithChar(ch, nullptr, nullptr)).first;
    if (found->second.empty())
        return font.m_face;
    FT_Face& face = font.m_fallbacks[found->second];
    if (face == nullptr)
        face = OpenFace(found->second, 0);
    if (face == nullptr)
        return font.m_face;
    glyphIndex = FT_Get_Char_Index(face, ch);
    return glyphIndex != 0 ? face : font.m_face;
}

std::int64_t FontEngine::GetAdvance(RealFont& font, char32_t ch)
{
    auto it = font.m_advances.find(ch);
    if (it != font.m_advances.end())
        return it->second;
    std::uint32_t index = 0;
    FT_Face face = FaceForChar(font, ch, index);
    std::int64_t advance = 0;
    FT_Matrix identity{0x10000, 0, 0, 0x10000};
    if (SetSize(font, face))
    {
        FT_Set_Transform(face, &identity, nullptr);
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
            advance = face->glyph->advance.x;
        if (font.m_bSynthBold)
            advance += Round26(font.m_emY / 24.0);
    }
    font.m_advances.emplace(ch, advance);
    return advance;
}

void FontEngine::Render(RealFont& font, char32_t ch, std::int64_t penX, std::int64_t penY,
                        const std::function<void(const GlyphImage&, int, int)>& draw)
{
    const CachedGlyph& glyph = GetGlyph(font, ch, int(penX & 63), int(penY & 63));
    if (glyph.coverage.empty())
        return;
    GlyphImage image;
    image.left = glyph.left;
    image.top = glyph.top;
    image.width = glyph.width;
    image.height = glyph.height;
    image.pitch = glyph.width;
    image.pCoverage = glyph.coverage.data();
    draw(image, int(penX >> 6), int(penY >> 6));
}

const CachedGlyph& FontEngine::GetGlyph(RealFont& font, char32_t ch, int subpixelX, int subpixelY)
{
    // Enough for the characters of a few scripts at every subpixel offset;
    // a font that needs more starts over.
    constexpr std::size_t MaxGlyphs = 16384;
    const std::uint64_t key =
        (std::uint64_t(ch) << 12) | std::uint64_t(subpixelX << 6) | std::uint64_t(subpixelY);
    if (auto it = font.m_glyphs.find(key); it != font.m_glyphs.end())
        return it->second;
    if (font.m_glyphs.size() >= MaxGlyphs)
        font.m_glyphs.clear();
    return font.m_glyphs.emplace(key, RenderGlyph(font, ch, subpixelX, subpixelY)).first->second;
}

CachedGlyph FontEngine::RenderGlyph(RealFont& font, char32_t ch, int subpixelX, int subpixelY)
{
    CachedGlyph glyph;
    std::uint32_t index = 0;
    FT_Face face = FaceForChar(font, ch, index);
    if (!SetSize(font, face))
        return glyph;
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
        return glyph;
    if (font.m_bSynthItalic)
    {
        FT_Matrix shear{0x10000, 0x3800, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (font.m_bSynthBold)
        FT_Outline_Embolden(&slot->outline, Round26(font.m_emY / 24.0));
    // Subpixel pen position moves the outline before rendering.
    FT_Outline_Translate(&slot->outline, FT_Pos(subpixelX), FT_Pos(-subpixelY));
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.buffer == nullptr || bitmap.width == 0 || bitmap.rows == 0)
        return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.coverage.resize(std::size_t(glyph.width) * std::size_t(glyph.height));
    for (int row = 0; row < glyph.height; ++row)
        std::memcpy(glyph.coverage.data() + std::size_t(row) * std::size_t(glyph.width),
                    bitmap.buffer + std::ptrdiff_t(row) * bitmap.pitch, std::size_t(glyph.width));
    return glyph;
}

std::u32string DecodeAnsi(const char* text, int length)
{
    std::u32string out;
    if (text == nullptr || length <= 0)
        return out;
    const int wide = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (wide <= 0)
    {
        for (int i = 0; i < length; ++i)
            out.push_back(static_cast<unsigned char>(text[i]));
        return out;
    }
    std::vector<WCHAR> buffer(std::size_t(wide) + 1);
    MultiByteToWideChar(CP_ACP, 0, text, length, buffer.data(), wide);
    for (int i = 0; i < wide; ++i)
    {
        char32_t c = buffer[std::size_t(i)];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide && buffer[std::size_t(i) + 1] >= 0xDC00 &&
            buffer[std::size_t(i) + 1] < 0xE000)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (buffer[std::size_t(i) + 1] - 0xDC00);
            ++i;
        }
        out.push_back(c);
    }
    return out;
}
