#pragma once
// Change notifications without a toolkit: an object that changes keeps a Notifier, and
// whoever wants to follow it subscribes a listener and keeps the Subscription it gets.
// The listener hears every change until the subscription ends (is destroyed or Reset);
// a listener may end its own or another subscription, or subscribe a new listener,
// while a change is being told: a listener whose subscription ended is not called any
// more, and one that subscribed during a notification first hears the next change.
// A subscription may outlive its notifier; ending it then does nothing.
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace qnvr {

class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> end) : end_(std::move(end)) {}
    ~Subscription() { Reset(); }
    Subscription(Subscription&& other) noexcept : end_(std::exchange(other.end_, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            Reset();
            end_ = std::exchange(other.end_, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    // Ends the subscription: its listener is not called again.
    void Reset() {
        if (auto end = std::exchange(end_, nullptr)) end();
    }
    bool Active() const { return static_cast<bool>(end_); }

private:
    std::function<void()> end_;
};

template <class Change>
class Notifier {
public:
    using Listener = std::function<void(Change)>;

    Notifier() = default;
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    [[nodiscard]] Subscription Subscribe(Listener listener) {
        auto entry = std::make_shared<Entry>(Entry{std::move(listener), true});
        entries_->push_back(entry);
        std::weak_ptr<Entries> entries = entries_;
        std::weak_ptr<Entry> ended = entry;
        return Subscription([entries, ended] {
            auto list = entries.lock();
            auto gone = ended.lock();
            if (!list || !gone) return;
            gone->active = false;
            std::erase(*list, gone);
        });
    }

    // Tells every listener subscribed now, in the order they subscribed.
    void Notify(Change change) const {
        const Entries listeners = *entries_;  // a listener may change the list
        for (const auto& entry : listeners)
            if (entry->active) entry->listener(change);
    }

    std::size_t ListenerCount() const { return entries_->size(); }

private:
    struct Entry {
        Listener listener;
        bool active;
    };
    using Entries = std::vector<std::shared_ptr<Entry>>;
    std::shared_ptr<Entries> entries_ = std::make_shared<Entries>();
};

}  // namespace qnvr
