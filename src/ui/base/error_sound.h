#pragma once
// The system's error sound, which a window plays when it refuses what the user did (a
// heading row picked from a code list). Tests install a handler to hear it.
#include <functional>

namespace qnvr {

// Plays the sound (QApplication::beep), or calls the installed handler instead.
void ErrorSound();

// Installs the handler for every following sound; an empty one restores the beep.
void SetErrorSoundHandler(std::function<void()> handler);

}  // namespace qnvr
