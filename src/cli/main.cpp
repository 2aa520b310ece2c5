// qnvr: the command-line tool over the same core as the desktop program.
// Errors go to standard error with exit status 1; usage errors exit 2.
#include <algorithm>
#include <iostream>

#include "cli/command.h"
#include "core/base/errors.h"

namespace qnvr::cli {
namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintHelp(std::ostream& out) {
    out << "Usage: qnvr COMMAND [ARGUMENTS]\n\nCommands:\n";
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const Command& c : commands) out << "  qnvr " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
    out << "  qnvr help\n      Shows this text.\n\n"
           "Environment:\n"
           "  QNVR_PROGRAM_DIR  the program folder, where efw2 reads QNVR.W2S (default: the folder of qnvr)\n"
           "  QNVR_PASSWORD     the password of a password-protected payer file\n\n"
           "Exit status: 0 done, 1 an error or a refusal (message on standard error), 2 wrong arguments.\n";
}

}  // namespace

void RegisterCommand(const Command& command) { Registry().push_back(command); }
const std::vector<Command>& Commands() { return Registry(); }

}  // namespace qnvr::cli

int main(int argc, char** argv) {
    using namespace qnvr::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return 2;
    }
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        PrintHelp(std::cout);
        return 0;
    }
    const auto& commands = Commands();
    auto it = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return c.name == args[0]; });
    if (it == commands.end()) {
        std::cerr << "qnvr: unknown command \"" << args[0] << "\"\n\n";
        PrintHelp(std::cerr);
        return 2;
    }
    try {
        return it->run({args.begin() + 1, args.end()});
    } catch (const UsageError& e) {
        std::cerr << "qnvr " << it->name << ": " << e.what() << "\nUsage: qnvr " << it->name << ' ' << it->usage << '\n';
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "qnvr " << it->name << ": " << e.what() << '\n';
        return 1;
    }
}
