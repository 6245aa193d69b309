#include "TimerList.h"

TimerEntry::TimerEntry(DelegateHandler* handler, unsigned period)
    : DelegateHandler(handler->GetName()), m_nPeriod(period), m_pHandler(handler)
{
}

TimerEntry::TimerEntry(DelegateHandler* handler, const DDateTime& due)
    : DelegateHandler(handler->GetName()), m_due(due), m_pHandler(handler)
{
}

TimerEntry::~TimerEntry()
{
    delete m_pHandler;
}

void TimerEntry::Invoke(const void* sender, DelegateArgs* args)
{
    m_pHandler->Invoke(sender, args);
}

bool TimerEntry::IsEqual(const DelegateHandler* other) const
{
    const auto* entry = dynamic_cast<const TimerEntry*>(other);
    return entry != nullptr && m_pHandler->IsEqual(entry->m_pHandler);
}

bool TimerEntry::IsEmpty() const
{
    return m_pHandler->IsEmpty();
}

DelegateHandler* TimerEntry::Clone() const
{
    auto* clone = new TimerEntry(m_pHandler->Clone(), m_nPeriod);
    clone->m_nElapsed = m_nElapsed;
    clone->m_due = m_due;
    return clone;
}

void TimerEntry::SetTarget(void* target)
{
    m_pHandler->SetTarget(target);
}

void* TimerEntry::GetTarget() const
{
    return m_pHandler->GetTarget();
}

TimerList::TimerList(const char* name) : Delegate(name), Modified(name) {}

void TimerList::Add(DelegateHandler* handler)
{
    Delegate::Add(handler);
    FireModified();
}

void TimerList::AddFirst(DelegateHandler* handler)
{
    Delegate::AddFirst(handler);
    FireModified();
}

void TimerList::Remove(DelegateHandler* probe)
{
    Delegate::Remove(probe);
    FireModified();
}

bool TimerList::SetTrace(bool trace)
{
    Modified.SetTrace(trace);
    return Delegate::SetTrace(trace);
}

int TimerList::GetEntries(TimerEntry* (&entries)[MaxEntriesPerTick]) const
{
    int count = 0;
    for (auto* node = m_handlers.GetHead(); node != nullptr && count < MaxEntriesPerTick;
         node = node->next)
    {
        if (auto* entry = dynamic_cast<TimerEntry*>(node->item))
        {
            entries[count++] = entry;
        }
    }
    return count;
}

bool TimerList::Holds(const TimerEntry* entry) const
{
    return m_handlers.Contains(const_cast<TimerEntry*>(entry));
}

void TimerList::FireModified()
{
    DelegateArgs empty;
    Modified.Invoke(this, &empty);
}
