#include "Delegate.h"

#include "FixArray.h"
#include "QuillonLog.h"

#include <cstdint>
#include <cstdio>

namespace
{

void CopyName(char (&target)[DelegateHandler::NameSize], const char* name)
{
    std::snprintf(target, sizeof target, "%s", name != nullptr ? name : "");
}

Lettra NameOrAddress(const char* name, const void* address)
{
    Lettra text;
    if (name[0] != 0)
    {
        text = name;
    }
    else
    {
        // The log keeps the 32-bit form of the address the lines always had.
        text.Format("0x%0x", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(address)));
    }
    return text;
}

} // namespace

DelegateArgs::~DelegateArgs() = default;

DelegateHandler::DelegateHandler(const char* name)
{
    CopyName(m_szName, name);
}

DelegateHandler::~DelegateHandler() = default;

const char* DelegateHandler::GetClassName() const
{
    return "ClassDelegateHandler";
}

Lettra DelegateHandler::GetLogName() const
{
    return NameOrAddress(m_szName, this);
}

void DelegateHandler::ReportFailure() const
{
    // The fatal line sounds the beep.
    if (m_szName[0] != 0)
    {
        quillon::_fatal("Invoke Delegate %s failed", m_szName);
    }
    else
    {
        quillon::_fatal("Invoke Delegate %d failed",
                        static_cast<int>(reinterpret_cast<std::intptr_t>(this)));
    }
}

Delegate::Delegate(const char* name)
{
    CopyName(m_szName, name);
}

Delegate::~Delegate()
{
    Clear();
    m_retired.DeleteAll();
}

bool Delegate::Accept(DelegateHandler* handler)
{
    if (handler == nullptr)
    {
        return false;
    }
    if (FindEqual(handler) != nullptr)
    {
        delete handler;
        return false;
    }
    return true;
}

void Delegate::Add(DelegateHandler* handler)
{
    if (Accept(handler))
    {
        m_handlers.AddTail(handler);
    }
}

void Delegate::AddFirst(DelegateHandler* handler)
{
    if (Accept(handler))
    {
        m_handlers.AddHead(handler);
    }
}

void Delegate::Remove(DelegateHandler* probe)
{
    if (DelegateHandler* stored = FindEqual(probe))
    {
        Unlink(stored);
    }
    delete probe;
}

void Delegate::Clear()
{
    while (!m_handlers.IsEmpty())
    {
        Unlink(m_handlers.GetHead()->item);
    }
}

bool Delegate::SetTrace(bool trace)
{
    m_bTrace = trace;
    return m_bTrace;
}

bool Delegate::Contains(const DelegateHandler& probe) const
{
    return FindEqual(&probe) != nullptr;
}

void Delegate::Invoke(const void* sender, DelegateArgs* args)
{
    const int count = m_handlers.GetCount();
    if (count == 0)
    {
        return;
    }
    if (m_bTrace)
    {
        quillon::_info("Invoking Delegate %s, total %d handles", GetLogName().constBuffer(), count);
    }
    // Up to InlineSnapshot handlers the snapshot stays on the stack.
    FixArray<DelegateHandler*, InlineSnapshot> snapshot(count);
    for (auto* node = m_handlers.GetHead(); node != nullptr; node = node->next)
    {
        snapshot.Add(node->item);
    }
    EnterInvoke();
    for (int index = 0; index < snapshot.GetCount(); ++index)
    {
        CallHandler(snapshot[index], sender, args);
    }
    LeaveInvoke();
}

Lettra Delegate::GetLogName() const
{
    return NameOrAddress(m_szName, this);
}

void Delegate::CallHandler(DelegateHandler* handler, const void* sender, DelegateArgs* args)
{
    const Lettra name = m_bTrace ? handler->GetLogName() : Lettra();
    if (m_bTrace)
    {
        quillon::_tinfo("Invoking %s", name.constBuffer());
    }
    try
    {
        handler->Invoke(sender, args);
    }
    catch (...)
    {
        handler->ReportFailure();
    }
    if (m_bTrace)
    {
        quillon::_tinfo("Invoked  %s", name.constBuffer());
    }
}

void Delegate::Retire(DelegateHandler* handler)
{
    if (m_nInvokeDepth > 0)
    {
        m_retired.AddTail(handler);
    }
    else
    {
        delete handler;
    }
}

void Delegate::LeaveInvoke()
{
    if (--m_nInvokeDepth == 0)
    {
        m_retired.DeleteAll();
    }
}

DelegateHandler* Delegate::FindEqual(const DelegateHandler* probe) const
{
    if (probe == nullptr)
    {
        return nullptr;
    }
    for (auto* node = m_handlers.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->IsEqual(probe))
        {
            return node->item;
        }
    }
    return nullptr;
}

void Delegate::Unlink(DelegateHandler* stored)
{
    m_handlers.Remove(stored);
    Retire(stored);
}
