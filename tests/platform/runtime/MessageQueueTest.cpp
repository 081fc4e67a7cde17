#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/runtime/MessageQueue.h"
#include "RuntimeFixture.h"

namespace vcl {
namespace {

using MessageQueueTest = testing_support::RuntimeTest;

class Recorder : public TMessageTarget {
public:
    Recorder(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
    void HandleMessage(TMessage& m) override {
        log_->push_back(name_ + ":" + std::to_string(m.Msg) + ":" + std::to_string(m.WParam));
        m.Result = static_cast<LRESULT>(m.WParam * 2);
        if (OnMessage) OnMessage(m);
    }
    std::function<void(TMessage&)> OnMessage;

private:
    std::string name_;
    std::vector<std::string>* log_;
};

// An input and paint source driven by the test.
class ScriptedSource : public TMessageSource {
public:
    std::vector<TMsg> Input;
    TMessageTarget* NeedsPaint = nullptr;

    bool PeekInput(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove) override {
        for (auto it = Input.begin(); it != Input.end(); ++it) {
            if (filter && it->Target != filter) continue;
            if (!(first == 0 && last == 0) && (it->Message < first || it->Message > last)) continue;
            msg = *it;
            if (remove) Input.erase(it);
            return true;
        }
        return false;
    }
    bool PeekPaint(TMsg& msg, TMessageTarget* filter) override {
        if (!NeedsPaint || (filter && filter != NeedsPaint)) return false;
        msg = TMsg{NeedsPaint, WM_PAINT};
        return true;
    }
    void Wait(std::optional<uint64_t>) override { ++Waits; }
    int Waits = 0;
};

TEST_F(MessageQueueTest, PostedThenQuitThenInputThenPaintThenTimers) {
    std::vector<std::string> log;
    Recorder w("w", &log);
    ScriptedSource source;
    MessageQueue().SetSource(&source);
    w.OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_PAINT) source.NeedsPaint = nullptr;  // validated
    };
    MessageQueue().SetTimer(&w, 7, 10);
    clock_.AdvanceMilliseconds(10);
    source.NeedsPaint = &w;
    source.Input.push_back(TMsg{&w, WM_KEYDOWN, 65});
    MessageQueue().Post(&w, WM_USER, 1);
    MessageQueue().Post(&w, WM_USER, 2);
    MessageQueue().PostQuit(3);
    TMsg msg;
    std::vector<UINT> order;
    while (MessageQueue().Peek(msg)) {
        order.push_back(msg.Message);
        MessageQueue().Dispatch(msg);
        if (msg.Message == WM_TIMER) break;
    }
    MessageQueue().SetSource(nullptr);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER, WM_QUIT, WM_KEYDOWN, WM_PAINT, WM_TIMER}));
    EXPECT_EQ(log, (std::vector<std::string>{"w:1024:1", "w:1024:2", "w:256:65", "w:15:0", "w:275:7"}));
}

TEST_F(MessageQueueTest, PeekFiltersByTargetAndRangeAndCanLeaveTheMessage) {
    std::vector<std::string> log;
    Recorder a("a", &log);
    Recorder b("b", &log);
    MessageQueue().Post(&a, WM_USER + 1);
    MessageQueue().Post(&b, WM_USER + 2);
    MessageQueue().Post(&a, WM_USER + 3);
    TMsg msg;
    ASSERT_TRUE(MessageQueue().Peek(msg, &b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.Message, WM_USER + 2);
    EXPECT_EQ(MessageQueue().PostedCount(), 3u);
    ASSERT_TRUE(MessageQueue().Peek(msg, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
    EXPECT_EQ(msg.Target, &a);
    EXPECT_FALSE(MessageQueue().Peek(msg, &a, WM_USER + 2, WM_USER + 3, PM_REMOVE));
    EXPECT_EQ(MessageQueue().PostedCount(), 2u);
    // Timers honour the range too: a due WM_TIMER is not reported for another range.
    MessageQueue().SetTimer(&a, 1, 10);
    clock_.AdvanceMilliseconds(10);
    EXPECT_FALSE(MessageQueue().Peek(msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_TRUE(MessageQueue().Peek(msg, &a, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

TEST_F(MessageQueueTest, MessagesAndTimersOfADeadTargetAreDropped) {
    std::vector<std::string> log;
    auto doomed = std::make_unique<Recorder>("doomed", &log);
    Recorder alive("alive", &log);
    MessageQueue().Post(doomed.get(), WM_USER);
    MessageQueue().Post(&alive, WM_USER);
    MessageQueue().SetTimer(doomed.get(), 1, 10);
    doomed.reset();
    clock_.AdvanceMilliseconds(50);
    ProcessPendingMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"alive:1024:0"}));
    EXPECT_EQ(MessageQueue().TimerCount(), 0u);
}

TEST_F(MessageQueueTest, SendDeliversAtOnceAndReturnsTheResult) {
    std::vector<std::string> log;
    Recorder w("w", &log);
    MessageQueue().Post(&w, WM_USER, 1);
    EXPECT_EQ(MessageQueue().Send(&w, WM_USER + 1, 21), 42);
    EXPECT_EQ(log, (std::vector<std::string>{"w:1025:21"}));
}

TEST_F(MessageQueueTest, AnExceptionEndsTheHandlerAndTheQueueGoesOn) {
    std::vector<std::string> log;
    Recorder w("w", &log);
    std::vector<std::string> handled;
    SetExceptionHandler([&](TObject*, std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            handled.push_back(e.what());
        }
    });
    w.OnMessage = [&](TMessage& m) {
        if (m.WParam == 1) throw rtl::Exception("first failed");
        log.push_back("after");
    };
    MessageQueue().Post(&w, WM_USER, 1);
    MessageQueue().Post(&w, WM_USER, 2);
    ProcessPendingMessages();
    EXPECT_EQ(handled, (std::vector<std::string>{"first failed"}));
    EXPECT_EQ(log, (std::vector<std::string>{"w:1024:1", "w:1024:2", "after"}));
    // Without an application the exception comes out of the dispatch.
    SetExceptionHandler(nullptr);
    MessageQueue().Post(&w, WM_USER, 1);
    EXPECT_THROW(ProcessPendingMessages(), rtl::Exception);
}

TEST_F(MessageQueueTest, GetReturnsFalseOnQuitAfterThePostedMessages) {
    std::vector<std::string> log;
    Recorder w("w", &log);
    MessageQueue().PostQuit(5);
    MessageQueue().Post(&w, WM_USER, 9);
    TMsg msg;
    ASSERT_TRUE(MessageQueue().Get(msg));
    EXPECT_EQ(msg.Message, WM_USER);
    EXPECT_FALSE(MessageQueue().Get(msg));
    EXPECT_EQ(msg.WParam, 5u);
    EXPECT_FALSE(MessageQueue().QuitPending());
}

TEST_F(MessageQueueTest, WaitingOnAVirtualClockWithNothingToComeStallsLoudly) {
    TMsg msg;
    EXPECT_THROW(MessageQueue().Get(msg), EWaitStalled);
    std::vector<std::string> log;
    Recorder w("w", &log);
    MessageQueue().SetTimer(&w, 1, 100);
    EXPECT_THROW(MessageQueue().WaitMessage(), EWaitStalled);
    // With a source, waiting is the source's business.
    ScriptedSource source;
    MessageQueue().SetSource(&source);
    MessageQueue().WaitMessage();
    MessageQueue().SetSource(nullptr);
    EXPECT_EQ(source.Waits, 1);
}

TEST_F(MessageQueueTest, AdvancingStopsAtEveryDueTimeEvenWhenHandlersPostWork) {
    std::vector<std::string> log;
    Recorder w("w", &log);
    w.OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_TIMER) MessageQueue().Post(&w, WM_USER, NowMs());
    };
    MessageQueue().SetTimer(&w, 3, 30);
    AdvanceMs(70);
    EXPECT_EQ(log, (std::vector<std::string>{"w:275:3", "w:1024:30", "w:275:3", "w:1024:60"}));
    EXPECT_EQ(NowMs(), 70u);
}

}  // namespace
}  // namespace vcl
