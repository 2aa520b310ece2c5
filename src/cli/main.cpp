// qnvr: the command-line tool over the same core as the desktop program.
// Errors go to standard error with exit status 1; usage errors exit 2.
#include <algorithm>
#include <iostream>

#include "cli/command.h"
#include "cli/payer_reader.h"
#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/text/cp1252.h"

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
           "  QNVR_PROGRAM_DIR  the program folder (default: the folder of qnvr); efw2 reads QNVR.W2S there,\n"
           "                    or in ~/.local/state/quenvora-w2/2026/ when that folder is not writable\n"
           "  QNVR_PASSWORD     the password of a password-protected payer file\n\n"
           "Exit status: 0 done, 1 an error or a refusal (message on standard error), 2 wrong arguments.\n";
}

// An error message keeps its line breaks; anything else that would act on a terminal
// is shown escaped.
std::string PrintableMessage(std::string_view message) {
    std::string shown;
    std::size_t start = 0;
    for (std::size_t end; (end = message.find('\n', start)) != std::string_view::npos; start = end + 1)
        shown += Printable(message.substr(start, end - start)) + "\n";
    return shown + Printable(message.substr(start));
}

}  // namespace

std::string SingleOperand(const std::vector<std::string>& args, const std::string& what) {
    std::vector<std::string> operands = args;
    if (!operands.empty() && operands[0] == "--") operands.erase(operands.begin());
    if (operands.size() != 1) throw UsageError("give " + what);
    return operands[0];
}

std::string Printable(std::string_view text) {
    std::string shown;
    auto escape = [&](unsigned char c) {
        static const char* const kHex = "0123456789ABCDEF";
        shown += "\\x";
        shown += kHex[c >> 4];
        shown += kHex[c & 15];
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            escape(c);
            ++i;
            continue;
        }
        if (c < 0x80) {
            shown += static_cast<char>(c);
            ++i;
            continue;
        }
        // A well-formed UTF-8 character stays, unless it is one of the C1 controls.
        const std::size_t length = Utf8CharLength(text.substr(i));
        if (length == 0 || Utf8CharAt(text.substr(i), length) < 0xA0) {
            escape(c);
            ++i;
            continue;
        }
        shown.append(text.substr(i, length));
        i += length;
    }
    return shown;
}

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
    // The tool's ports: questions get their default answer and a password comes from
    // QNVR_PASSWORD or the terminal. The commands that print add the print system's
    // printers to them.
    CliPrompter prompter;
    CliPasswordEntry passwords;
    const qnvr::CorePorts ports{.prompter = prompter, .passwordEntry = passwords};
    const auto& commands = Commands();
    auto it = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return c.name == args[0]; });
    if (it == commands.end()) {
        std::cerr << "qnvr: unknown command \"" << Printable(args[0]) << "\"\n\n";
        PrintHelp(std::cerr);
        return 2;
    }
    try {
        return it->run(ports, {args.begin() + 1, args.end()});
    } catch (const UsageError& e) {
        std::cerr << "qnvr " << it->name << ": " << Printable(e.what()) << "\nUsage: qnvr " << it->name << ' ' << it->usage
                  << '\n';
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "qnvr " << it->name << ": " << PrintableMessage(qnvr::TildeToBreak(e.what())) << '\n';
        return 1;
    }
}
