// XmlSetting: reads settings from one XML document of the viewer's
// configuration. A setting is an element whose "value" attribute holds it,
// found by name among the children of the element a path reached.
#pragma once

#include "Lettra.h"
#include "ViewerFlavour.h"

class DMarkup;

VIEWER_NAMESPACE_BEGIN

class VIEWER_API XmlSetting
{
public:
    XmlSetting() = default;
    ~XmlSetting();
    XmlSetting(const XmlSetting&) = delete;
    XmlSetting& operator=(const XmlSetting&) = delete;

    // Reads the file into a new document; true at once, without reading,
    // when a document is already held. The document is kept also when the
    // file cannot be read or parsed (false then).
    bool Load(const char* path);
    // Parses the text into the document (made when none is held).
    bool SetDoc(const char* text);
    // Moves to the element at the slash-separated path; false when absent.
    bool GotoPath(const char* path);
    // The "value" attribute of the first element of that name on the level
    // the last GotoPath reached (the children of the element it names),
    // searched from the first element of the level; empty when it has none,
    // the default when there is no such element or the name is empty, and
    // empty without a document.
    Lettra GetValue(const char* name, const char* absent);
    // The same for another attribute of that element.
    Lettra GetAttribute(const char* name, const char* attribute, const char* absent);
    // The "value" attribute of "/AppSetting/Define/" + name, empty when not
    // defined.
    Lettra GetDefineValue(const char* name);

    bool HasDoc() const { return m_pDoc != nullptr; }

protected:
    // The document itself, for readers that walk it; null until loaded.
    DMarkup* GetDocument() const { return m_pDoc; }

private:
    DMarkup* m_pDoc = nullptr;
};

VIEWER_NAMESPACE_END
