#pragma once
// The busy notice: a small window with a caption and a line of text, shown without
// blocking during a long file operation or network request, together with the
// hourglass cursor. The desktop program installs the window; elsewhere nothing shows.
#include <string>

#include "core/base/busy.h"

namespace qnvr {

class BusyNote {
public:
    virtual ~BusyNote() = default;
    virtual void Show(const std::string& caption, const std::string& text) = 0;  // replaces one that shows
    virtual void Hide() = 0;
};

void SetBusyNote(BusyNote* note);  // not owned; nullptr removes it
BusyNote* CurrentBusyNote();

// Shows the notice and the hourglass for its lifetime, so that both come down on every
// path out of the long step, failures included.
class BusyNotice {
public:
    BusyNotice(const std::string& caption, const std::string& text);
    ~BusyNotice();
    BusyNotice(const BusyNotice&) = delete;
    BusyNotice& operator=(const BusyNotice&) = delete;

private:
    BusyCursor cursor_;
    BusyNote* note_;
};

}  // namespace qnvr
