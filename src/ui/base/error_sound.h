#pragma once
// The system's error sound, which a window plays when it refuses what the user did (a
// heading row picked from a code list). Tests hear it through their ports' errorSound.
class QWidget;

namespace qnvr {

// Plays the sound of from's ports (ui/base/window_ports.h); the system's beep when they
// have none.
void ErrorSound(const QWidget* from);

}  // namespace qnvr
