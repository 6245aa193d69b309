#include "TurboErrorManager.h"

#include <jerror.h>

namespace quorex
{

namespace
{
TurboErrorManager& GetManager(j_common_ptr pInfo)
{
    // The manager's first member is the libjpeg error manager.
    return *reinterpret_cast<TurboErrorManager*>(pInfo->err);
}

[[noreturn]] void OnErrorExit(j_common_ptr pInfo)
{
    std::longjmp(GetManager(pInfo).jumpBuffer, 1);
}

bool IsDamagedData(const TurboErrorManager& manager, int nCode)
{
    switch (nCode)
    {
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
        return true;
    case JWRN_JPEG_EOF:
        return !manager.bTolerateEndOfData;
    default:
        return false;
    }
}

void OnEmitMessage(j_common_ptr pInfo, int nLevel)
{
    if (nLevel >= 0)
    {
        return; // trace messages
    }
    TurboErrorManager& manager = GetManager(pInfo);
    if (IsDamagedData(manager, manager.base.msg_code))
    {
        std::longjmp(manager.jumpBuffer, 1);
    }
    ++manager.base.num_warnings;
}

void OnOutputMessage(j_common_ptr) {}
} // namespace

jpeg_error_mgr* InstallErrorManager(TurboErrorManager& manager)
{
    jpeg_error_mgr* pBase = jpeg_std_error(&manager.base);
    pBase->error_exit = OnErrorExit;
    pBase->emit_message = OnEmitMessage;
    pBase->output_message = OnOutputMessage;
    manager.bTolerateEndOfData = false;
    return pBase;
}

} // namespace quorex
