#pragma once
// "Today", for date keys and the calendar; fixed in tests.
#include <chrono>
#include <ctime>

namespace qnvr {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::year_month_day Today() const = 0;
};

class SystemClock final : public Clock {
public:
    std::chrono::year_month_day Today() const override {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                           std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                           std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
    }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(std::chrono::year_month_day today) : today_(today) {}
    std::chrono::year_month_day Today() const override { return today_; }

private:
    std::chrono::year_month_day today_;
};

}  // namespace qnvr
