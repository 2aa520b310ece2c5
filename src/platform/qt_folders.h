#pragma once
// The program folder and the user's documents folder on this machine.
#include "core/base/folders.h"

namespace qnvr::platform {

class QtFolders final : public Folders {
public:
    // The folder of the executable, or QNVR_PROGRAM_DIR when it is set (tests, portable
    // installs).
    std::string ProgramDir() const override;
    // The documents folder the desktop reports (XDG_DOCUMENTS_DIR, usually ~/Documents).
    std::string DocumentsDir() const override;
    // The program folder when it may be written, else ~/.local/state/quenvora-w2/2026/
    // (created when missing).
    std::string StateDir() const override;
};

// True when the environment variable QNVR_DEVELOPMENT is set to anything but "" or "0":
// the program then keeps its settings under the development root.
bool DevelopmentEnvironment();

}  // namespace qnvr::platform
