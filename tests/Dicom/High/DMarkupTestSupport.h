// Helpers of the DMarkup tests: a text picture of the element tree and a
// document of the shape of the viewer's configuration files.
#pragma once

#include "DMarkup.h"

#include <gtest/gtest.h>

#include <string>

// One line per element in document order: indentation by depth, tag name and
// the four offsets of its tags.
inline void DumpLevel(DMarkup& markup, std::string& out, int depth)
{
    while (markup.Next())
    {
        int startOpen = 0, startClose = 0, endOpen = 0, endClose = 0;
        markup.GetOffsets(startOpen, startClose, endOpen, endClose);
        out += std::string(depth, ' ') + markup.GetTagName().constBuffer() + " " +
               std::to_string(startOpen) + " " + std::to_string(startClose) + " " +
               std::to_string(endOpen) + " " + std::to_string(endClose) + "\n";
        if (markup.HasChild())
        {
            markup.IntoElem();
            DumpLevel(markup, out, depth + 1);
            markup.OutOfElem();
        }
    }
}

inline std::string DumpTree(const DMarkup& markup)
{
    DMarkup copy(markup);
    copy.ResetPos();
    std::string out;
    DumpLevel(copy, out, 0);
    return out;
}

// The element records of an edited document describe its text exactly as a
// fresh parse of that text does.
inline ::testing::AssertionResult IsConsistent(const DMarkup& markup)
{
    DMarkup fresh;
    const bool bParsed = fresh.SetDoc(markup.GetDoc());
    if (markup.IsWellFormed() && !bParsed)
        return ::testing::AssertionFailure()
               << "the edited text does not parse: " << fresh.GetError().constBuffer() << "\n"
               << markup.GetDoc().constBuffer();
    const std::string edited = DumpTree(markup);
    const std::string parsed = DumpTree(fresh);
    if (edited != parsed)
        return ::testing::AssertionFailure() << "records after the edits:\n"
                                             << edited << "records of a fresh parse:\n"
                                             << parsed << "text:\n"
                                             << markup.GetDoc().constBuffer();
    return ::testing::AssertionSuccess();
}

// The shape of the viewer's configuration and resource files: settings with a
// "value" attribute under /AppSetting/Config, colours with R, G and B, the
// pane fonts, command defines and popup menus.
inline std::string ReadConfigText()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<!-- Viewer settings -->\r\n"
           "<AppSetting>\r\n"
           "  <Config>\r\n"
           "    <ModalityLUT2VOILUT value=\"true\"/>\r\n"
           "    <HideIfMemoryBelowMB value=\"100\" />\r\n"
           "    <ShowPatientOrientationLabel value=\"1\"/>\r\n"
           "    <MaxSizeOfBriefImage value=\"512\"/>\r\n"
           "    <SortWhenLoadCompleted value=\"0\"/>\r\n"
           "    <AlphaOfShutter value=\"-1\"/>\r\n"
           "    <ShowImageViewScrollBar value=\"1\"/>\r\n"
           "    <Overlay>\r\n"
           "      <Color>\r\n"
           "        <TextColor R=\"255\" G=\"255\" B=\"255\"/>\r\n"
           "        <LabelColor R=\"255\" G=\"255\" B=\"0\"/>\r\n"
           "        <ROIColor R=\"0\" G=\"255\" B=\"0\"/>\r\n"
           "        <ROITextColor R=\"0\" G=\"255\" B=\"255\"/>\r\n"
           "        <ROIHilitedColor R=\"255\" G=\"0\" B=\"0\"/>\r\n"
           "        <ROIShadowColor R=\"0\" G=\"0\" B=\"0\"/>\r\n"
           "      </Color>\r\n"
           "      <TextBackground value=\"1\"/>\r\n"
           "      <Shadow value=\"0\"/>\r\n"
           "      <FontHeight value=\"-1\"/>\r\n"
           "    </Overlay>\r\n"
           "    <ViewPortFont>\r\n"
           "      <ViewPort Columns=\"1\" Height=\"16\"/>\r\n"
           "      <VIEWPORT Columns=\"2\" Height=\"14\"/>\r\n"
           "      <viewport Columns=\"4\" Height=\"12\"/>\r\n"
           "      <Other Columns=\"8\" Height=\"10\"/>\r\n"
           "    </ViewPortFont>\r\n"
           "  </Config>\r\n"
           "  <Define>\r\n"
           "    <ID_WINDOW_LEVEL value=\"9501\"/>\r\n"
           "    <ID_ZOOM value=\"9502\"/>\r\n"
           "    <ID_SHOW_LABELS value=\"9510\"/>\r\n"
           "  </Define>\r\n"
           "  <PopupMenu>\r\n"
           "    <Property>\r\n"
           "      <PROPERTY>\r\n"
           "        <TextColor R=\"0\" G=\"0\" B=\"0\"/>\r\n"
           "        <IconWidth value=\"24\"/>\r\n"
           "        <Font value=\"9\"/>\r\n"
           "      </PROPERTY>\r\n"
           "    </Property>\r\n"
           "    <Modality>\r\n"
           "      <DEFAULT>\r\n"
           "        <MENUITEM name=\"Window &amp; Level\" command=\"ID_WINDOW_LEVEL\"/>\r\n"
           "        <POPUP name=\"Tools\">\r\n"
           "          <MENUITEM name=\"Zoom\" command=\"ID_ZOOM\"/>\r\n"
           "          <MENUITEM name=\"SEPARATOR\"/>\r\n"
           "          <MENUITEM name=\"Labels\" command=\"ID_SHOW_LABELS\"/>\r\n"
           "        </POPUP>\r\n"
           "      </DEFAULT>\r\n"
           "      <CT>\r\n"
           "        <MENUITEM name=\"Zoom\" command=\"ID_ZOOM\"/>\r\n"
           "      </CT>\r\n"
           "    </Modality>\r\n"
           "  </PopupMenu>\r\n"
           "</AppSetting>\r\n";
}
