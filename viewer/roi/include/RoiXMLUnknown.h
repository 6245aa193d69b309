// RoiXMLUnknown: a stored measurement of a kind no class of this library
// handles. It keeps its class tag and document (written back unchanged)
// and shows what the document's "<Internal>" element draws: its "<Line>"
// segments and "<TextLabel>" texts, which move, flip and turn with the
// image like any annotation.
#pragma once

#include "ORoi.h"

#include <vector>

class QUILLON_API RoiXMLUnknown : public ORoi
{
    DECLARE_DYNAMIC(RoiXMLUnknown)

public:
    static constexpr int TypeId = 530;

    RoiXMLUnknown(ImageShow* owner, const Lettra& classTag, const Lettra& document);

    const char* GetClassTag() const override;
    ORoi* Clone(ImageShow* owner) const override;
    // Its primitives are drawn as they are: no point of them is a handle.
    int GetHandlePoints(POINT* points, int capacity) const override;

    const Lettra& GetDocument() const { return m_strDocument; }
    int GetLineCount() const { return m_nLines; }
    // The ends of one line, image pixels.
    void GetLine(int index, POINT& begin, POINT& end) const;
    int GetTextCount() const { return static_cast<int>(m_Texts.size()); }
    POINT GetTextPosition(int index) const;
    const Lettra& GetText(int index) const { return m_Texts[static_cast<std::size_t>(index)]; }

    // The document as it was read.
    Lettra XmlSerialize() const override;
    // The "<Private>" rule of every class, then the "<Internal>" primitives;
    // false, logged, when a primitive lacks its points.
    bool XmlDeserialize(const Lettra& xml) override;

    // Its texts are part of its figure: a hit on one is a hit on the body.
    int HitTest(int x, int y, int tolerance, int flags) override;

protected:
    POINT* GetPoints(int& count) override;
    // The lines in the style, the texts in its text colour.
    void DrawShape(CDC* pDC, CViewPort& view) override;
    int GetHitSegments(POINT* ends, int capacity) const override;

private:
    Lettra m_strTag;
    Lettra m_strDocument;
    // The lines' ends in pairs, then the texts' positions.
    std::vector<POINT> m_Points;
    int m_nLines = 0;
    std::vector<Lettra> m_Texts;
};
