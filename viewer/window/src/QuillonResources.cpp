// The library's own resources: the cursor and icon groups, authored as
// files that the build puts beside the library.
#include "ResourceRegistry.h"
#include "WinResource.h"

namespace
{

const ResourceFileEntry Files[] = {
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(138), "cursors/QuillonHandle.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(139), "cursors/QuillonLabel.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(140), "cursors/QuillonWindowLevel.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(153), "cursors/QuillonZoom.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(154), "cursors/QuillonPageScroll.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(155), "cursors/QuillonHandOver.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(156), "cursors/QuillonCineScroll.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(167), "cursors/QuillonSizeDiagonal.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(168), "cursors/QuillonMove.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(169), "cursors/QuillonSizeWidth.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(170), "cursors/QuillonSizeHeight.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(171), "cursors/QuillonZoomOrPan.cur"},
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(175), "cursors/QuillonPan.cur"},
    {RT_GROUP_ICON, MAKEINTRESOURCE(148), "icons/QuillonHandedOver.ico"},
    {RT_GROUP_ICON, MAKEINTRESOURCE(149), "icons/QuillonAnnotated.ico"},
};

const ResourceRegistrar Registrar({.files = Files});

} // namespace
