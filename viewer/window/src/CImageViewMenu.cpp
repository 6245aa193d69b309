// The popup menus of the image view: a pane asks for one with a command
// naming what lies under the cursor; the view builds it from the resource
// XML, adds its series when the kind asks for them and tracks it with the
// hot pane as owner, so that the chosen command goes to the pane, which
// hands on what it does not do itself.
#include "CImageView.h"

#include "CXPMenuCH.h"
#include "ConfigXmlText.h"
#include "ImageShow.h"
#include "MedImage.h"
#include "QuillonLog.h"
#include "XmlMenuBuilder.h"

#include <memory>

using quillon::_debug;

namespace
{

// The number that heads a series title, and where its text starts.
constexpr int TitleNumberLength = 9;

struct PopupKind
{
    Lettra name;
    bool series = false;
};

// The submenu the series go into when they are many; it lives as long as
// the library and is made anew for each popup.
std::unique_ptr<CMenuCH>& SeriesMenu()
{
    static std::unique_ptr<CMenuCH> menu;
    return menu;
}

// The menu kind for an image: the one of its modality when the resource
// XML has it.
Lettra ImageMenuKind(XmlMenuBuilder& builder, const ImageShow* hot)
{
    Lettra modality = hot != nullptr ? hot->GetDicomValue(0x0008, 0x0060) : Lettra();
    modality.TrimLeft();
    modality.TrimRight();
    if (!modality.IsEmpty())
    {
        const Lettra kind = Lettra("Modality/") + modality;
        if (builder.GotoPath(Lettra(CImageView::PopupMenuPath) + kind))
        {
            return kind;
        }
    }
    return "Modality/DEFAULT";
}

PopupKind KindOf(int command, XmlMenuBuilder& builder, const ImageShow* hot)
{
    switch (command)
    {
    case MedImage::enImageMenu:
        return {ImageMenuKind(builder, hot), true};
    case MedImage::enAnnotationMenu:
        return {"ROI", false};
    case MedImage::enShutterMenu:
        return {"SHUTTER", false};
    case MedImage::enPaneAnnotationMenu:
        return {"PANEROI", false};
    case MedImage::enEmptyPaneMenu:
        return {"EMPTY", true};
    default:
        return {"EMPTY", false};
    }
}

} // namespace

void CImageView::OnEventPopupMenu(const void*, DelegateArgs* args)
{
    MedImage* pane = GetHotPaneWindow();
    if (pane == nullptr)
    {
        return;
    }
    const auto* value = dynamic_cast<const ValueArgs*>(args);
    const int command = value != nullptr ? value->m_nValue : MedImage::enEmptyPaneMenu;
    XmlMenuBuilder builder;
    builder.SetDoc(GetResourceXml());
    const PopupKind kind = KindOf(command, builder, GetHotImage());
    const Lettra path = Lettra(PopupMenuPath) + kind.name;
    CXPMenuCH* menu = builder.BuildMenu(PopupPropertyPath, path);
    auto* popup = menu != nullptr ? dynamic_cast<CMenuCH*>(menu->GetSubMenu(0)) : nullptr;
    if (popup == nullptr)
    {
        _debug("Enter CImageView::OnEventPopupMenu, no popup menu at %s",
               static_cast<const char*>(path));
        return;
    }
    if (kind.series)
    {
        AddSeriesMenu(popup);
    }
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    popup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_VERTICAL, cursor.x, cursor.y, pane);
    // The series submenu outlives the builder's menus.
    const std::unique_ptr<CMenuCH>& series = SeriesMenu();
    if (series != nullptr && popup->GetSubMenu(0) == series.get())
    {
        popup->RemoveMenu(0, MF_BYPOSITION);
    }
}

// The count that decides between the popup and a submenu is the count of
// series: the empty titles that part the studies do not take an entry's
// room.
int CImageView::AddSeriesMenu(CMenuCH* popup)
{
    Array<Lettra> titles;
    if (popup == nullptr || m_Layout.GetSeriesTitles(titles) == 0)
    {
        return 0;
    }
    const bool hadItems = popup->GetMenuItemCount() > 0;
    int used = 0;
    CMenuCH* target = popup;
    if (m_Layout.GetNbOfSeries() > MaxSeriesInPopup)
    {
        std::unique_ptr<CMenuCH>& series = SeriesMenu();
        series = std::make_unique<CMenuCH>();
        series->CreatePopupMenu();
        popup->CopyStyleTo(series.get());
        popup->InsertMenu(0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(series->m_hMenu),
                          "Series");
        used = 1;
        if (hadItems)
        {
            popup->InsertMenu(1, MF_BYPOSITION | MF_SEPARATOR);
            ++used;
        }
        target = series.get();
    }
    UINT position = 0;
    for (auto* node = titles.GetHead(); node != nullptr; node = node->next, ++position)
    {
        const Lettra& title = node->item;
        if (title.IsEmpty())
        {
            target->InsertMenu(position, MF_BYPOSITION | MF_SEPARATOR);
            continue;
        }
        const int number = title.Left(TitleNumberLength).Int();
        // Beyond the command range an entry would carry another command's
        // identifier; the titles come in series order, so none follows.
        if (number > int(CmdLastSeries - CmdFirstSeries))
        {
            break;
        }
        Lettra caption;
        caption.Format("%2d:%s", number, static_cast<const char*>(title.Mid(TitleNumberLength)));
        target->InsertMenu(position, MF_BYPOSITION | MF_STRING, CmdFirstSeries + number, caption);
        if (number == m_Layout.IndexOfHotSeries())
        {
            target->CheckMenuItem(position, MF_BYPOSITION | MF_CHECKED);
        }
    }
    if (target != popup)
    {
        return used;
    }
    used = static_cast<int>(position);
    if (hadItems)
    {
        popup->InsertMenu(position, MF_BYPOSITION | MF_SEPARATOR);
        ++used;
    }
    return used;
}
