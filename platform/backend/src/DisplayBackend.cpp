#include "DisplayBackend.h"

#include "HeadlessBackend.h"

namespace
{
CDisplayBackend* gInstalled = nullptr;
} // namespace

CDisplayBackend::~CDisplayBackend() = default;

CDisplayBackend& GetDisplayBackend()
{
    return gInstalled != nullptr ? *gInstalled : GetHeadlessBackend();
}

CDisplayBackend* SetDisplayBackend(CDisplayBackend* pBackend)
{
    CDisplayBackend* previous = gInstalled;
    gInstalled = pBackend;
    return previous;
}
