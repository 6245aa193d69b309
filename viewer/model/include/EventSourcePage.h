// The process-wide events of the viewer window's pages: every view that
// must let go of its images before all views are closed subscribes here.
// The viewer window invokes both around closing all views, with itself as
// sender and no arguments.
#pragma once

#include "Delegate.h"

class QUILLON_API EventSourcePage
{
public:
    // "EventSourcePage::OnAllViewClearing": before the views are closed.
    static Delegate OnAllViewClearing;
    // "EventSourcePage::OnAllViewCleared": after they were closed.
    static Delegate OnAllViewCleared;
};
