#pragma once
// The hourglass cursor during long steps of the core. The desktop program installs an
// indicator that sets the application's wait cursor; elsewhere nothing is shown.
namespace qnvr {

class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void Begin() = 0;
    virtual void End() = 0;
};

void SetBusyIndicator(BusyIndicator* indicator);  // not owned; nullptr removes it
BusyIndicator* CurrentBusyIndicator();

// Shows the hourglass for its lifetime, so that it comes down on every path out.
class BusyCursor {
public:
    BusyCursor() : indicator_(CurrentBusyIndicator()) {
        if (indicator_) indicator_->Begin();
    }
    ~BusyCursor() {
        if (indicator_) indicator_->End();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    BusyIndicator* indicator_;
};

}  // namespace qnvr
