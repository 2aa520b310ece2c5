#pragma once
// Showing that the program is busy: the hourglass cursor during long steps of the core,
// and the busy notice, a small window with a caption and a line of text shown without
// blocking during a long file operation or network request. The desktop program's ports
// show them (core/base/core_ports.h); elsewhere nothing is shown.
#include <string>

namespace qnvr {

class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void Begin() = 0;
    virtual void End() = 0;
};

class BusyNote {
public:
    virtual ~BusyNote() = default;
    virtual void Show(const std::string& caption, const std::string& text) = 0;  // replaces one that shows
    virtual void Hide() = 0;
};

// Shows the hourglass for its lifetime, so that it comes down on every path out.
class BusyCursor {
public:
    explicit BusyCursor(BusyIndicator& indicator) : indicator_(indicator) { indicator_.Begin(); }
    ~BusyCursor() { indicator_.End(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    BusyIndicator& indicator_;
};

// Shows the notice and the hourglass for its lifetime, so that both come down on every
// path out of the long step, failures included.
class BusyNotice {
public:
    BusyNotice(BusyIndicator& indicator, BusyNote& note, const std::string& caption, const std::string& text)
        : cursor_(indicator), note_(note) {
        note_.Show(caption, text);
    }
    ~BusyNotice() { note_.Hide(); }
    BusyNotice(const BusyNotice&) = delete;
    BusyNotice& operator=(const BusyNotice&) = delete;

private:
    BusyCursor cursor_;
    BusyNote& note_;
};

}  // namespace qnvr
