// The event mechanism of the viewer library. An announcing object owns a
// Delegate; subscribers add handlers that bind one of their member functions
// to one of their objects, and Invoke calls every handler in order with the
// sender and an argument object. The Delegate owns its handlers.
//
// Invoke calls a snapshot of the handler list, so handlers may add and
// remove handlers of the Delegate they run in (a rendering stage removes
// itself as it runs). A handler taken off while the Delegate is invoking is
// unlinked at once but deleted only when the outermost Invoke returns, so a
// snapshot never calls a deleted handler.
#pragma once

#include "Array.h"
#include "Lettra.h"
#include "QuillonExport.h"

#include <typeinfo>

// Base of every event argument; Args objects live on the sender's stack for
// the duration of one Invoke.
class QUILLON_API DelegateArgs
{
public:
    virtual ~DelegateArgs();
};

// One pointer value (the ImageShow that changed, an icon width) and one
// further word; senders set the word to 0 unless the event says otherwise.
class QUILLON_API PointerDelegateArgs : public DelegateArgs
{
public:
    explicit PointerDelegateArgs(void* pointer = nullptr, int word = 0)
        : m_pPointer(pointer), m_nWord(word)
    {
    }

    void* m_pPointer;
    int m_nWord;
};

class QUILLON_API StringDelegateArgs : public DelegateArgs
{
public:
    explicit StringDelegateArgs(const Lettra& text) : m_strText(text) {}

    Lettra m_strText;
};

// Abstract base of the handlers: a name for the logs (at most 63
// characters) and a call.
class QUILLON_API DelegateHandler
{
public:
    static constexpr int NameSize = 64;

    explicit DelegateHandler(const char* name);
    virtual ~DelegateHandler();
    DelegateHandler(const DelegateHandler&) = delete;
    DelegateHandler& operator=(const DelegateHandler&) = delete;

    virtual void Invoke(const void* sender, DelegateArgs* args) = 0;
    // Same member function and same target; the name takes no part.
    virtual bool IsEqual(const DelegateHandler* other) const = 0;
    // True when no member function is bound.
    virtual bool IsEmpty() const = 0;
    virtual DelegateHandler* Clone() const = 0;
    virtual const char* GetClassName() const;
    virtual void SetTarget(void* target) = 0;
    virtual void* GetTarget() const = 0;

    const char* GetName() const { return m_szName; }
    // The name, or the handler's address "0x%0x" when the name is empty.
    Lettra GetLogName() const;
    // Logs the fatal line (which beeps) of a handler that let an exception
    // out.
    void ReportFailure() const;

private:
    char m_szName[NameSize];
};

// A handler that calls a member function of class T on one T object. The
// call is guarded: an exception is reported and goes no further.
template <class T> class ClassDelegateHandler : public DelegateHandler
{
public:
    using Method = void (T::*)(const void* sender, DelegateArgs* args);

    ClassDelegateHandler(T* target, Method method, const char* name)
        : DelegateHandler(name), m_pTarget(target), m_pMethod(method)
    {
    }

    void Invoke(const void* sender, DelegateArgs* args) override
    {
        try
        {
            (m_pTarget->*m_pMethod)(sender, args);
        }
        catch (...)
        {
            ReportFailure();
        }
    }
    bool IsEqual(const DelegateHandler* other) const override
    {
        if (other == nullptr || typeid(*other) != typeid(*this))
        {
            return false;
        }
        const auto* same = static_cast<const ClassDelegateHandler*>(other);
        return same->m_pMethod == m_pMethod && same->m_pTarget == m_pTarget;
    }
    bool IsEmpty() const override { return m_pMethod == nullptr; }
    DelegateHandler* Clone() const override
    {
        return new ClassDelegateHandler(m_pTarget, m_pMethod, GetName());
    }
    void SetTarget(void* target) override { m_pTarget = static_cast<T*>(target); }
    void* GetTarget() const override { return m_pTarget; }

private:
    T* m_pTarget;
    Method m_pMethod;
};

template <class T>
ClassDelegateHandler<T>* MakeHandler(T* target, typename ClassDelegateHandler<T>::Method method,
                                     const char* name)
{
    return new ClassDelegateHandler<T>(target, method, name);
}

class QUILLON_API Delegate
{
public:
    static constexpr int NameSize = 64;
    // Snapshots of up to this many handlers live on the stack.
    static constexpr int InlineSnapshot = 64;

    explicit Delegate(const char* name = "");
    virtual ~Delegate();
    Delegate(const Delegate&) = delete;
    Delegate& operator=(const Delegate&) = delete;

    // Appends the handler (ownership passes) unless an equal one is present,
    // in which case the given one is deleted.
    virtual void Add(DelegateHandler* handler);
    // Takes off the first handler equal to the probe; the probe (ownership
    // passes) is deleted in every case.
    virtual void Remove(DelegateHandler* probe);
    virtual void Invoke(const void* sender, DelegateArgs* args);
    // As Add, at the head.
    virtual void AddFirst(DelegateHandler* handler);
    virtual bool SetTrace(bool trace);

    // Takes every handler off.
    void Clear();
    Delegate& operator+=(DelegateHandler* handler)
    {
        Add(handler);
        return *this;
    }

    const char* GetName() const { return m_szName; }
    bool IsTrace() const { return m_bTrace; }
    int GetCount() const { return m_handlers.GetCount(); }
    // True while an equal handler is in the list.
    bool Contains(const DelegateHandler& probe) const;
    bool IsInvoking() const { return m_nInvokeDepth > 0; }

protected:
    // The name, or the Delegate's address "0x%0x" when the name is empty.
    Lettra GetLogName() const;
    // Calls one handler with the trace lines around it; an exception that
    // escapes is reported and goes no further.
    void CallHandler(DelegateHandler* handler, const void* sender, DelegateArgs* args);
    // Deletes a handler taken off the list, or keeps it until the outermost
    // Invoke returns.
    void Retire(DelegateHandler* handler);
    // True when the handler may join the list; a null handler is refused and
    // one equal to a stored handler is deleted.
    bool Accept(DelegateHandler* handler);
    // The first stored handler equal to the probe, or null.
    DelegateHandler* FindEqual(const DelegateHandler* probe) const;
    // Unlinks a stored handler and retires it.
    void Unlink(DelegateHandler* stored);
    // Counts an Invoke in and out; leaving the outermost deletes what was
    // retired meanwhile.
    void EnterInvoke() { ++m_nInvokeDepth; }
    void LeaveInvoke();

    Array<DelegateHandler*> m_handlers;

private:
    char m_szName[NameSize];
    bool m_bTrace = true;
    int m_nInvokeDepth = 0;
    Array<DelegateHandler*> m_retired;
};
