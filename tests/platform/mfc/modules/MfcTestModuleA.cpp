#include "MfcTestModule.h"
#include "ResourceRegistry.h"
#include "WinResource.h"

class CModuleAShape : public CObject
{
    DECLARE_DYNCREATE(CModuleAShape)
};

IMPLEMENT_DYNCREATE(CModuleAShape, CObject)

namespace
{
constexpr char kData[] = {'A', '1'};
constexpr WORD kToolbarIds[] = {100, 0, 101, 102};
constexpr ToolbarTemplate kToolbar{16, 15, kToolbarIds};
constexpr AcceleratorEntry kAccelerators[] = {{0x09, 'C', 0xE122}, {0x09, 'V', 0xE125}};

const ResourceStringEntry kStrings[] = {
    {kSharedStringId, "String of module A"},
    {kModuleAStringId, "Only in A"},
};
const ResourceDataEntry kDataEntries[] = {
    {RT_RCDATA, MAKEINTRESOURCE(kSharedDataId), kData, sizeof(kData)},
    {"SCRIPT", "Startup", kData, 1},
};
const ResourceFileEntry kFiles[] = {
    {RT_BITMAP, MAKEINTRESOURCE(kBitmapId), kBitmapRelativePath},
    {RT_BITMAP, MAKEINTRESOURCE(kMissingFileBitmapId), "mfc-test-data/absent.bmp"},
};
const ResourceToolbarEntry kToolbars[] = {{MAKEINTRESOURCE(kToolbarId), &kToolbar}};
const ResourceAcceleratorEntry kAcceleratorTables[] = {
    {MAKEINTRESOURCE(kAcceleratorId), kAccelerators}};

const ResourceRegistrar kRegistrar({.strings = kStrings,
                                    .data = kDataEntries,
                                    .files = kFiles,
                                    .accelerators = kAcceleratorTables,
                                    .toolbars = kToolbars});
} // namespace

extern "C" __attribute__((visibility("default"))) CRuntimeClass* GetModuleClass()
{
    return RUNTIME_CLASS(CModuleAShape);
}
