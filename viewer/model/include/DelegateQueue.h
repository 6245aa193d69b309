// DelegateQueue: a bounded stack of pending handler calls (the undo stack of
// an image pane). Add pushes a call, Invoke runs the newest one and drops
// it, last in first out; the oldest calls are lost first once the stack
// holds Limit of them. Every change of the stack is announced through the
// queue's own inner Delegate, with the queue as sender.
#pragma once

#include "Delegate.h"

class QUILLON_API DelegateQueue : public Delegate
{
public:
    static constexpr int Limit = 20;

    DelegateQueue();
    ~DelegateQueue() override;

    // A call equal to a pending one is dropped (deleted) and changes
    // nothing; otherwise the oldest calls make room and the call is pushed.
    void Add(DelegateHandler* handler) override;
    // Runs the newest pending call, which is taken off before it runs and
    // deleted after it returned.
    void Invoke(const void* sender, DelegateArgs* args) override;
    // Drops every pending call; announces only when there was one.
    void Clear();

    // The Delegate that announces each change of the stack.
    Delegate& GetChanged() { return m_Changed; }

private:
    void AnnounceChange();

    Delegate m_Changed;
};
