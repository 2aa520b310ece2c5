#pragma once
// Where the program and the user's documents live. Paths end with a separator.
#include <string>

namespace qnvr {

class Folders {
public:
    virtual ~Folders() = default;
    virtual std::string ProgramDir() const = 0;    // the program folder (QNVR_PROGRAM_DIR overrides)
    virtual std::string DocumentsDir() const = 0;  // the user's documents folder
    // Where the program keeps what it writes for itself between runs: the electronic
    // filing settings and clients list, the last print job's pages, an update download.
    // The program folder when this user may write there, else a folder of the user's own.
    virtual std::string StateDir() const = 0;
};

// Fixed folders, for tests and for tools that are told where to work.
class FixedFolders final : public Folders {
public:
    FixedFolders(std::string programDir, std::string documentsDir)
        : programDir_(WithSlash(std::move(programDir))), documentsDir_(WithSlash(std::move(documentsDir))) {}
    std::string ProgramDir() const override { return programDir_; }
    std::string DocumentsDir() const override { return documentsDir_; }
    std::string StateDir() const override { return programDir_; }

private:
    static std::string WithSlash(std::string p) {
        if (p.empty() || p.back() != '/') p += '/';
        return p;
    }
    std::string programDir_;
    std::string documentsDir_;
};

}  // namespace qnvr
