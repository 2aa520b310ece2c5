#include "core/program/busy_note.h"

namespace qnvr {
namespace {
BusyNote* currentBusyNote = nullptr;
}

void SetBusyNote(BusyNote* note) { currentBusyNote = note; }
BusyNote* CurrentBusyNote() { return currentBusyNote; }

BusyNotice::BusyNotice(const std::string& caption, const std::string& text) : note_(CurrentBusyNote()) {
    if (note_) note_->Show(caption, text);
}

BusyNotice::~BusyNotice() {
    if (note_) note_->Hide();
}

}  // namespace qnvr
