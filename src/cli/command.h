#pragma once
// The command-line tool's commands. Each command file defines one Command and registers
// it with a static CommandRegistration; main() dispatches on the first argument.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/core_ports.h"

namespace qnvr::cli {

struct Command {
    std::string_view name;
    std::string_view usage;    // arguments after the name, as the help text shows them
    std::string_view summary;  // one line
    // Runs with the tool's ports (built once by main()); returns the exit status.
    int (*run)(const CorePorts& ports, const std::vector<std::string>& args);
};

// Wrong arguments: main() prints the message and the command's usage, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one operand of a command that takes no options, "--" before it allowed; a
// UsageError naming what is missing otherwise.
std::string SingleOperand(const std::vector<std::string>& args, const std::string& what);

// Text from the command line as it may go to a terminal: control characters and bytes
// that are no UTF-8 shown as \xNN.
std::string Printable(std::string_view text);

void RegisterCommand(const Command& command);
const std::vector<Command>& Commands();

struct CommandRegistration {
    explicit CommandRegistration(const Command& command) { RegisterCommand(command); }
};

}  // namespace qnvr::cli
