// Fonts through FreeType and fontconfig: maps a requested face name to an
// installed face, realises it at a pixel size, measures and renders glyphs.
// Glyph outlines are unhinted, so metrics depend only on the font files.
#pragma once

#include "WinGdi.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;

// A glyph rendered once at one subpixel pen position, its coverage kept
// (rows of width bytes).
struct CachedGlyph
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
};

// One font realised at a size: the face, its synthesised styles and its
// metrics in device pixels.
class RealFont
{
public:
    ~RealFont();

    TEXTMETRICA m_metrics{};
    std::string m_faceName;  // the installed family used
    double m_emY = 0;        // em size in pixels, vertical
    double m_emX = 0;        // em size in pixels, horizontal
    double m_escapement = 0; // radians, counter-clockwise
    bool m_bSynthBold = false;
    bool m_bSynthItalic = false;
    bool m_bUnderline = false;
    bool m_bStrikeOut = false;
    int m_nUnderlinePos = 0; // pixels below the baseline
    int m_nLineThickness = 1;
    int m_nStrikePos = 0; // pixels above the baseline
    FT_FaceRec_* m_face = nullptr;
    std::map<std::string, FT_FaceRec_*> m_fallbacks;       // file -> face for missing glyphs
    std::unordered_map<char32_t, std::int64_t> m_advances; // 26.6 pixels
    // By character and the pen's subpixel offsets: labels drawn over and over
    // are rendered once.
    std::unordered_map<std::uint64_t, CachedGlyph> m_glyphs;
};

// A rendered glyph's coverage (0..255), placed relative to the pen position.
struct GlyphImage
{
    int left = 0; // pixels right of the pen
    int top = 0;  // pixels above the pen (baseline)
    int width = 0;
    int height = 0;
    int pitch = 0;
    const std::uint8_t* pCoverage = nullptr;
};

class FontEngine
{
public:
    static FontEngine& Get();

    // The font for a logical font at device em height (signed as lfHeight:
    // negative = character height, positive = cell height, 0 = default) and
    // device average width (0 = natural).
    RealFont* Realize(const LOGFONTA& font, int deviceHeight, int deviceWidth);
    // The advance of a character in 26.6 pixels along the baseline.
    std::int64_t GetAdvance(RealFont& font, char32_t ch);
    // Renders a character with the pen at (penX, penY) in 26.6 pixels; the
    // callback receives the coverage of the glyph.
    void Render(RealFont& font, char32_t ch, std::int64_t penX, std::int64_t penY,
                const std::function<void(const GlyphImage&, int originX, int originY)>& draw);
    // The family an installed face of this request would use.
    std::string MapFaceName(const LOGFONTA& font);

private:
    FontEngine();
    FT_FaceRec_* FaceForChar(RealFont& font, char32_t ch, std::uint32_t& glyphIndex);
    const CachedGlyph& GetGlyph(RealFont& font, char32_t ch, int subpixelX, int subpixelY);
    CachedGlyph RenderGlyph(RealFont& font, char32_t ch, int subpixelX, int subpixelY);
    FT_FaceRec_* OpenFace(const std::string& file, int index);
    bool SetSize(RealFont& font, FT_FaceRec_* face);

    void* m_library = nullptr;
    std::map<std::string, std::unique_ptr<RealFont>> m_fonts;
    std::unordered_map<char32_t, std::string> m_fallbackFiles;
};

// Bytes in the process ANSI code page to characters.
std::u32string DecodeAnsi(const char* text, int length);
