// RoiFont: the drawing style of one annotation. Colours, line width, the
// shadow switch and an optional label font, taken from the process-wide
// overlay settings when made. Its XML form is the style block of a
// measurement document's "<Context>".
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"
#include "WinGdi.h"

#include <memory>

class QUILLON_API RoiFont
{
public:
    RoiFont();
    RoiFont(const RoiFont& other);
    RoiFont& operator=(const RoiFont& other);
    ~RoiFont();

    bool IsShadow() const { return m_bShadow != 0; }
    void SetShadow(bool shadow) { m_bShadow = shadow ? 1 : 0; }
    int GetLineWidth() const { return m_nLineWidth; }
    void SetLineWidth(int width) { m_nLineWidth = width; }
    // The view's raster mode for the lines (2: copy the pen).
    int GetDrawMode() const { return m_nDrawMode; }
    // The background mode of label text (1: transparent).
    int GetBkMode() const { return m_nBkMode; }

    // Above 0 a label font ("Arial" of that height unless told otherwise)
    // is described; below 1 the description goes.
    int GetFontHeight() const { return m_nFontHeight; }
    void SetFontHeight(int height);
    // The label font; null when labels use the pane's font.
    const LOGFONT* GetFont() const { return m_pFont.get(); }
    void SetFontFace(const char* face);
    void SetFontWeight(int weight);
    void SetItalic(bool italic);

    COLORREF GetCurrentColor() const { return m_crCurrent; }
    // The current colour only (a highlight sets it for a while).
    void SetCurrentColor(COLORREF colour) { m_crCurrent = colour; }
    // Current, normal and highlight colour together.
    void SetColors(COLORREF colour);
    COLORREF GetTextColor() const { return m_crText; }
    void SetTextColor(COLORREF colour) { m_crText = colour; }
    COLORREF GetNormalColor() const { return m_crNormal; }
    COLORREF GetHighlightColor() const { return m_crHighlight; }
    COLORREF GetShadowColor() const { return m_crShadow; }

    // The style block, lines ended by CR LF.
    Lettra XmlSerialize() const;
    // Reads a style block; elements it lacks leave their values alone.
    // False when the text is not a document.
    bool XmlDeserialize(const char* xml);

private:
    std::uint8_t m_bShadow;
    int m_nLineWidth = 1;
    int m_nDrawMode = 2;
    int m_nBkMode = 1;
    int m_nFontHeight = -1;
    COLORREF m_crCurrent;
    std::unique_ptr<LOGFONT> m_pFont;
    COLORREF m_crText;
    COLORREF m_crNormal;
    COLORREF m_crHighlight;
    COLORREF m_crShadow;
};
