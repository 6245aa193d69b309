#include "EventSourcePage.h"

Delegate EventSourcePage::OnAllViewClearing("EventSourcePage::OnAllViewClearing");
Delegate EventSourcePage::OnAllViewCleared("EventSourcePage::OnAllViewCleared");
