// Timer lists of a pane layout: Delegates whose handlers are timer entries,
// offered to components the view hosts. Each change of a list fires its
// Modified event, on which the view starts or stops its one window timer.
#pragma once

#include "DDateTime.h"
#include "Delegate.h"
#include "QuillonExport.h"

// A timer entry: one handler, owned, with its period and the time elapsed
// since it last ran (interval and one-shot lists), or with the time it is
// due (daily list). Two entries are equal when their handlers are.
class QUILLON_API TimerEntry : public DelegateHandler
{
public:
    // Runs the handler every period milliseconds, or once after it.
    TimerEntry(DelegateHandler* handler, unsigned period);
    // Runs the handler when due, then a day later again.
    TimerEntry(DelegateHandler* handler, const DDateTime& due);
    ~TimerEntry() override;

    void Invoke(const void* sender, DelegateArgs* args) override;
    bool IsEqual(const DelegateHandler* other) const override;
    bool IsEmpty() const override;
    DelegateHandler* Clone() const override;
    void SetTarget(void* target) override;
    void* GetTarget() const override;

    unsigned m_nPeriod = 0;
    unsigned m_nElapsed = 0;
    DDateTime m_due;

private:
    DelegateHandler* m_pHandler;
};

class QUILLON_API TimerList : public Delegate
{
public:
    // At most this many entries run on one tick.
    static constexpr int MaxEntriesPerTick = 64;

    explicit TimerList(const char* name);

    // As the base operations, then Modified fires (the list as sender).
    void Add(DelegateHandler* handler) override;
    void AddFirst(DelegateHandler* handler) override;
    void Remove(DelegateHandler* probe) override;
    // Also the trace switch of Modified.
    bool SetTrace(bool trace) override;

    // The first entries in list order, at most MaxEntriesPerTick; returns
    // how many.
    int GetEntries(TimerEntry* (&entries)[MaxEntriesPerTick]) const;
    // True while this very entry is in the list.
    bool Holds(const TimerEntry* entry) const;

    Delegate Modified;

private:
    void FireModified();
};
