#include "ViewerSettings.h"

ViewerSettings& ViewerSettings::Get()
{
    static ViewerSettings settings;
    return settings;
}
