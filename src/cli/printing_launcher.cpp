// qnvr print and qnvr design as qnvr knows them: the same command line handed to the
// printing program beside qnvr (see printing_commands.h), which replaces this process.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli/command.h"
#include "cli/printing_commands.h"
#include "core/base/errors.h"

namespace qnvr::cli {
namespace {

namespace fs = std::filesystem;

// The printing program in the folder of this executable (not the program folder, which
// QNVR_PROGRAM_DIR may place elsewhere; the printing program reads that variable itself).
std::string PrintingProgram() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) throw EQnvrException("cannot find the folder of qnvr: " + error.message());
    return (exe.parent_path() / kPrintingProgramName).string();
}

[[noreturn]] void HandOver(std::string_view command, const std::vector<std::string>& args) {
    const std::string program = PrintingProgram();
    std::vector<std::string> words{"qnvr", std::string(command)};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::cout.flush();
    std::cerr.flush();
    ::execv(program.c_str(), argv.data());
    const int error = errno;
    throw EQnvrException("cannot start " + program + ": " + std::strerror(error) +
                         "; the installation is incomplete");
}

int RunPrint(const CorePorts&, const std::vector<std::string>& args) { HandOver(kPrintCommand.name, args); }
int RunDesign(const CorePorts&, const std::vector<std::string>& args) { HandOver(kDesignCommand.name, args); }

const CommandRegistration print{{kPrintCommand.name, kPrintCommand.usage, kPrintCommand.summary, RunPrint}};
const CommandRegistration design{{kDesignCommand.name, kDesignCommand.usage, kDesignCommand.summary, RunDesign}};

}  // namespace
}  // namespace qnvr::cli
