// The event mechanism: order and snapshot of Invoke, duplicates, removal and
// clearing while invoking (run under AddressSanitizer, which reports any
// call of a deleted handler), trace and failure lines, and the bounded
// DelegateQueue.
#include "Delegate.h"
#include "DelegateQueue.h"
#include "EventSourcePage.h"
#include "LogCapture.h"
#include "WinBeep.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

// A handler whose body and whose deletion the test sees.
class TrackedHandler : public DelegateHandler
{
public:
    TrackedHandler(const char* name, std::function<void()> body, bool* deleted = nullptr)
        : DelegateHandler(name), m_body(std::move(body)), m_deleted(deleted)
    {
    }
    ~TrackedHandler() override
    {
        if (m_deleted != nullptr)
        {
            *m_deleted = true;
        }
    }
    void Invoke(const void*, DelegateArgs*) override { m_body(); }
    bool IsEqual(const DelegateHandler* other) const override { return other == this; }
    bool IsEmpty() const override { return false; }
    DelegateHandler* Clone() const override { return new TrackedHandler(GetName(), m_body); }
    void SetTarget(void*) override {}
    void* GetTarget() const override { return nullptr; }

private:
    std::function<void()> m_body;
    bool* m_deleted;
};

class Subscriber
{
public:
    explicit Subscriber(int id, std::vector<int>* calls) : m_id(id), m_calls(calls) {}

    void OnEvent(const void*, DelegateArgs*) { m_calls->push_back(m_id); }
    void OnOther(const void*, DelegateArgs*) { m_calls->push_back(-m_id); }
    void OnThrow(const void*, DelegateArgs*) { throw std::string("broken"); }

    ClassDelegateHandler<Subscriber>* Handler(const char* name = "")
    {
        return MakeHandler(this, &Subscriber::OnEvent, name);
    }

private:
    int m_id;
    std::vector<int>* m_calls;
};

} // namespace

TEST(Delegate, InvokeWithoutHandlersLogsAndCallsNothing)
{
    LogCapture log;
    Delegate event("Empty");
    event.Invoke(this, nullptr);
    EXPECT_TRUE(log.Lines().empty());
}

TEST(Delegate, InvokeCallsEveryHandlerInOrderAboveTheInlineSnapshot)
{
    for (int count : {1, 64, 65, 130})
    {
        std::vector<int> calls;
        std::vector<Subscriber> subscribers;
        subscribers.reserve(count);
        Delegate event("Many");
        event.SetTrace(false);
        for (int id = 0; id < count; ++id)
        {
            subscribers.emplace_back(id, &calls);
            event += subscribers.back().Handler();
        }
        event.Invoke(this, nullptr);
        ASSERT_EQ(static_cast<int>(calls.size()), count);
        for (int id = 0; id < count; ++id)
        {
            EXPECT_EQ(calls[id], id);
        }
    }
}

TEST(Delegate, EqualHandlersAreAddedOnce)
{
    std::vector<int> calls;
    Subscriber first(1, &calls);
    Subscriber second(2, &calls);
    Delegate event("Twice");
    event.SetTrace(false);
    event += first.Handler("a");
    event += first.Handler("another name, same binding");
    event.AddFirst(first.Handler());
    event.AddFirst(second.Handler());
    event += MakeHandler(&first, &Subscriber::OnOther, "other method");
    EXPECT_EQ(event.GetCount(), 3);
    event.Invoke(this, nullptr);
    EXPECT_EQ(calls, (std::vector<int>{2, 1, -1}));
}

TEST(Delegate, RemoveTakesTheEqualHandlerAndAnAbsentProbeChangesNothing)
{
    std::vector<int> calls;
    Subscriber first(1, &calls);
    Subscriber second(2, &calls);
    Delegate event("Remove");
    event.SetTrace(false);
    event += first.Handler();
    event += second.Handler();
    event.Remove(MakeHandler(&second, &Subscriber::OnOther, ""));
    EXPECT_EQ(event.GetCount(), 2);
    event.Remove(first.Handler());
    EXPECT_EQ(event.GetCount(), 1);
    event.Invoke(this, nullptr);
    EXPECT_EQ(calls, (std::vector<int>{2}));
}

TEST(Delegate, AStageThatRemovesItselfRunsOnce)
{
    // The form of a rendering stage: the member takes its own handler off
    // first, then works.
    struct Stage
    {
        Delegate* chain;
        std::vector<std::string>* calls;
        void Run(const void*, DelegateArgs*)
        {
            chain->Remove(MakeHandler(this, &Stage::Run, ""));
            calls->push_back("stage");
        }
    };
    Delegate chain("");
    chain.SetTrace(false);
    std::vector<std::string> calls;
    Stage stage{&chain, &calls};
    chain += MakeHandler(&stage, &Stage::Run, "Stage::Run");
    chain += new TrackedHandler("next", [&] { calls.push_back("next"); });
    chain.Invoke(this, nullptr);
    EXPECT_EQ(chain.GetCount(), 1);
    chain.Invoke(this, nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"stage", "next", "next"}));
}

TEST(Delegate, RemovingALaterHandlerKeepsItInThisInvocationOnly)
{
    std::vector<int> calls;
    Subscriber victim(2, &calls);
    Delegate event("Later");
    event.SetTrace(false);
    event += new TrackedHandler(
        "remover",
        [&]
        {
            calls.push_back(1);
            event.Remove(victim.Handler());
            EXPECT_FALSE(event.Contains(*std::unique_ptr<DelegateHandler>(victim.Handler())));
        });
    event += victim.Handler("victim");
    event += new TrackedHandler("after", [&] { calls.push_back(3); });
    event.Invoke(this, nullptr);
    EXPECT_EQ(calls, (std::vector<int>{1, 2, 3}));
    calls.clear();
    event.Invoke(this, nullptr);
    EXPECT_EQ(calls, (std::vector<int>{1, 3}));
}

TEST(Delegate, ClearDuringInvokeDeletesTheHandlersAfterTheOutermostInvoke)
{
    Delegate event("Clear");
    event.SetTrace(false);
    bool firstDeleted = false;
    bool secondDeleted = false;
    int depth = 0;
    std::vector<std::string> calls;
    event += new TrackedHandler(
        "first",
        [&]
        {
            calls.push_back("first");
            if (++depth == 1)
            {
                event.Invoke(this, nullptr); // nested: clears from inside
                EXPECT_FALSE(firstDeleted);
                EXPECT_FALSE(secondDeleted);
            }
        },
        &firstDeleted);
    event += new TrackedHandler(
        "second",
        [&]
        {
            calls.push_back("second");
            event.Clear();
        },
        &secondDeleted);
    event.Invoke(this, nullptr);
    EXPECT_TRUE(firstDeleted);
    EXPECT_TRUE(secondDeleted);
    EXPECT_EQ(event.GetCount(), 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "first", "second", "second"}));
}

TEST(Delegate, NamesAreCutToSixtyThreeCharacters)
{
    const std::string seventy(70, 'n');
    Delegate event(seventy.c_str());
    EXPECT_EQ(std::string(event.GetName()), seventy.substr(0, 63));
    Subscriber subscriber(1, nullptr);
    std::unique_ptr<DelegateHandler> handler(subscriber.Handler(seventy.c_str()));
    EXPECT_EQ(std::string(handler->GetName()), seventy.substr(0, 63));
    std::unique_ptr<DelegateHandler> clone(handler->Clone());
    EXPECT_EQ(std::string(clone->GetName()), seventy.substr(0, 63));
    EXPECT_TRUE(clone->IsEqual(handler.get()));
    EXPECT_STREQ(clone->GetClassName(), "ClassDelegateHandler");
}

TEST(Delegate, TraceLogsTheInvocationAndEachHandler)
{
    std::vector<int> calls;
    Subscriber first(1, &calls);
    Subscriber second(2, &calls);
    Delegate event("ImageShow::Chain");
    event += first.Handler("ImageShow::chFullToMap");
    event += second.Handler("");
    LogCapture log;
    event.Invoke(this, nullptr);
    const std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Invoking Delegate ImageShow::Chain, total 2 handles");
    EXPECT_EQ(lines[1], "Invoking ImageShow::chFullToMap");
    EXPECT_EQ(lines[2], "Invoked  ImageShow::chFullToMap");
    EXPECT_EQ(lines[3].rfind("Invoking 0x", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4], "Invoked  " + lines[3].substr(9));

    Delegate unnamed;
    unnamed += first.Handler("x");
    log.Clear();
    unnamed.Invoke(this, nullptr);
    ASSERT_FALSE(log.Lines().empty());
    EXPECT_EQ(log.Lines()[0].rfind("Invoking Delegate 0x", 0), 0u) << log.Lines()[0];

    event.SetTrace(false);
    log.Clear();
    event.Invoke(this, nullptr);
    EXPECT_TRUE(log.Lines().empty());
}

TEST(Delegate, AThrowingHandlerBeepsLogsAndTheNextOneStillRuns)
{
    std::vector<int> calls;
    Subscriber thrower(1, &calls);
    Subscriber next(2, &calls);
    Delegate event("Failing");
    event.SetTrace(false);
    event += MakeHandler(&thrower, &Subscriber::OnThrow, "Broken::OnThrow");
    event += MakeHandler(&thrower, &Subscriber::OnOther, "");
    event += new TrackedHandler("", [] { throw 7; });
    event += next.Handler();
    ResetBeepCount();
    LogCapture log;
    event.Invoke(this, nullptr);
    EXPECT_EQ(calls, (std::vector<int>{-1, 2}));
    EXPECT_EQ(GetBeepCount(), 2);
    const std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Invoke Delegate Broken::OnThrow failed");
    EXPECT_EQ(lines[1].rfind("Invoke Delegate ", 0), 0u);
    EXPECT_NE(lines[1].find(" failed"), std::string::npos);
}

TEST(DelegateQueue, KeepsTheNewestTwentyAndRunsThemLastInFirstOut)
{
    std::vector<int> calls;
    std::vector<Subscriber> subscribers;
    subscribers.reserve(25);
    DelegateQueue queue;
    queue.SetTrace(false);
    int announced = 0;
    queue.GetChanged() += new TrackedHandler("changed", [&] { ++announced; });
    for (int id = 1; id <= 25; ++id)
    {
        subscribers.emplace_back(id, &calls);
        queue += subscribers.back().Handler();
    }
    EXPECT_EQ(queue.GetCount(), DelegateQueue::Limit);
    EXPECT_EQ(announced, 25);
    for (int run = 0; run < 5; ++run)
    {
        queue.Invoke(this, nullptr);
    }
    EXPECT_EQ(calls, (std::vector<int>{25, 24, 23, 22, 21}));
    EXPECT_EQ(queue.GetCount(), 15);
    EXPECT_EQ(announced, 30);
    queue.Clear();
    EXPECT_EQ(announced, 31);
    queue.Clear();
    EXPECT_EQ(announced, 31);
    queue.Invoke(this, nullptr);
    EXPECT_EQ(calls.size(), 5u);
}

TEST(DelegateQueue, ADuplicateEvictsNothing)
{
    std::vector<int> calls;
    std::vector<Subscriber> subscribers;
    subscribers.reserve(DelegateQueue::Limit);
    DelegateQueue queue;
    queue.SetTrace(false);
    for (int id = 1; id <= DelegateQueue::Limit; ++id)
    {
        subscribers.emplace_back(id, &calls);
        queue += subscribers.back().Handler();
    }
    queue += subscribers.back().Handler();
    EXPECT_EQ(queue.GetCount(), DelegateQueue::Limit);
    while (queue.GetCount() > 0)
    {
        queue.Invoke(this, nullptr);
    }
    ASSERT_EQ(calls.size(), std::size_t(DelegateQueue::Limit));
    EXPECT_EQ(calls.back(), 1);
}

TEST(DelegateQueue, TheRunningCallIsOffTheStackAndMayPushOrRunAgain)
{
    DelegateQueue queue;
    queue.SetTrace(false);
    std::vector<std::string> calls;
    bool deleted = false;
    queue += new TrackedHandler("older", [&] { calls.push_back("older"); });
    queue += new TrackedHandler(
        "newest",
        [&]
        {
            calls.push_back("newest");
            EXPECT_EQ(queue.GetCount(), 1);
            queue.Invoke(this, nullptr); // runs the older call, not this one again
            queue += new TrackedHandler("pushed", [&] { calls.push_back("pushed"); });
        },
        &deleted);
    queue.Invoke(this, nullptr);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(calls, (std::vector<std::string>{"newest", "older"}));
    queue.Invoke(this, nullptr);
    EXPECT_EQ(calls.back(), "pushed");
    EXPECT_EQ(queue.GetCount(), 0);
}

TEST(EventSourcePage, OffersTheTwoProcessWideEvents)
{
    EXPECT_STREQ(EventSourcePage::OnAllViewClearing.GetName(),
                 "EventSourcePage::OnAllViewClearing");
    EXPECT_STREQ(EventSourcePage::OnAllViewCleared.GetName(), "EventSourcePage::OnAllViewCleared");
    std::vector<int> calls;
    Subscriber view(4, &calls);
    EventSourcePage::OnAllViewClearing += view.Handler();
    EventSourcePage::OnAllViewClearing.Invoke(nullptr, nullptr);
    EventSourcePage::OnAllViewClearing.Remove(view.Handler());
    EventSourcePage::OnAllViewClearing.Invoke(nullptr, nullptr);
    EXPECT_EQ(calls, (std::vector<int>{4}));
}
