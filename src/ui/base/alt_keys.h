#pragma once
// Alt keys are the windows' shortcuts, never typing. A shortcut whose button or menu
// item is enabled acts before the key reaches a field; this guard makes sure that an
// Alt key with nothing to act on (a disabled navigator button, a greyed-out button,
// a letter that names nothing) does not type its letter into the focused field either.
namespace qnvr {

// Installs the guard for the whole program; calling it again does nothing. Windows
// that see keys before their fields (the navigator's Alt keys) install their own
// filters after it and so come first.
void GuardAltKeys();

}  // namespace qnvr
