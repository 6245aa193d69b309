#include "DelegateQueue.h"

DelegateQueue::DelegateQueue() : Delegate("")
{
    m_Changed.SetTrace(false);
}

DelegateQueue::~DelegateQueue()
{
    Clear();
}

void DelegateQueue::Add(DelegateHandler* handler)
{
    if (!Accept(handler))
    {
        return;
    }
    while (m_handlers.GetCount() >= Limit)
    {
        Unlink(m_handlers.GetHead()->item);
    }
    m_handlers.AddTail(handler);
    AnnounceChange();
}

void DelegateQueue::Invoke(const void* sender, DelegateArgs* args)
{
    if (m_handlers.IsEmpty())
    {
        return;
    }
    DelegateHandler* newest = m_handlers.GetTail()->item;
    m_handlers.Remove(newest);
    EnterInvoke();
    CallHandler(newest, sender, args);
    Retire(newest);
    LeaveInvoke();
    AnnounceChange();
}

void DelegateQueue::Clear()
{
    if (m_handlers.IsEmpty())
    {
        return;
    }
    Delegate::Clear();
    AnnounceChange();
}

void DelegateQueue::AnnounceChange()
{
    PointerDelegateArgs args;
    m_Changed.Invoke(this, &args);
}
