#include "core/base/notifier.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qnvr {
namespace {

TEST(NotifierTest, EveryListenerHearsEachChangeInTheOrderTheySubscribed) {
    Notifier<int> changes;
    std::vector<std::string> heard;
    Subscription a = changes.Subscribe([&](int n) { heard.push_back("a" + std::to_string(n)); });
    Subscription b = changes.Subscribe([&](int n) { heard.push_back("b" + std::to_string(n)); });
    changes.Notify(1);
    changes.Notify(2);
    EXPECT_EQ(heard, (std::vector<std::string>{"a1", "b1", "a2", "b2"}));
}

TEST(NotifierTest, ASubscriptionThatEndsStopsItsListener) {
    Notifier<int> changes;
    int heard = 0;
    {
        Subscription scoped = changes.Subscribe([&](int) { ++heard; });
        changes.Notify(1);
    }
    changes.Notify(2);
    EXPECT_EQ(heard, 1);

    Subscription reset = changes.Subscribe([&](int) { ++heard; });
    reset.Reset();
    EXPECT_FALSE(reset.Active());
    changes.Notify(3);
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(changes.ListenerCount(), 0u);

    // A moved subscription keeps its listener; the one moved from ends nothing.
    Subscription first = changes.Subscribe([&](int) { ++heard; });
    Subscription moved = std::move(first);
    first.Reset();
    changes.Notify(4);
    EXPECT_EQ(heard, 2);
    moved = Subscription();
    changes.Notify(5);
    EXPECT_EQ(heard, 2);
}

// While a change is told, listeners end their own or another's subscription, or add one.
TEST(NotifierTest, ListenersMayEndOrAddSubscriptionsWhileAChangeIsTold) {
    Notifier<int> changes;
    std::vector<std::string> heard;
    std::optional<Subscription> self, other, added;
    self = changes.Subscribe([&](int n) {
        heard.push_back("self" + std::to_string(n));
        self.reset();  // destroys the subscription whose listener is running
    });
    Subscription ender = changes.Subscribe([&](int n) {
        heard.push_back("ender" + std::to_string(n));
        other.reset();
        if (!added) added = changes.Subscribe([&](int m) { heard.push_back("added" + std::to_string(m)); });
    });
    other = changes.Subscribe([&](int n) { heard.push_back("other" + std::to_string(n)); });
    changes.Notify(1);
    EXPECT_EQ(heard, (std::vector<std::string>{"self1", "ender1"}));  // other ended before its turn
    heard.clear();
    changes.Notify(2);
    EXPECT_EQ(heard, (std::vector<std::string>{"ender2", "added2"}));
}

TEST(NotifierTest, ASubscriptionMayOutliveItsNotifier) {
    Subscription kept;
    {
        auto changes = std::make_unique<Notifier<int>>();
        kept = changes->Subscribe([](int) {});
    }
    EXPECT_TRUE(kept.Active());
    kept.Reset();  // nothing left to leave
    EXPECT_FALSE(kept.Active());
}

}  // namespace
}  // namespace qnvr
