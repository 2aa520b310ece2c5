#pragma once
// The commands that draw pages (print, design) live in a program of their own,
// "qnvr-print" in qnvr's folder, so that every other command starts without loading the
// libraries that drawing and printing need (Qt, the print system, the PDF library).
// qnvr lists them in its help like any other command and hands them over to that
// program, which runs them with the same arguments, environment and exit status.
#include <string_view>

namespace qnvr::cli {

struct CommandText {
    std::string_view name;
    std::string_view usage;
    std::string_view summary;
};

inline constexpr CommandText kPrintCommand{
    "print",
    "KIND [--unmasked] [--preprinted [--offset X,Y]] [--split DIR]\n"
    "             (--pdf OUT | --html OUT | --ndr OUT | --printer NAME) PAYER.W226\n"
    "      KIND: employee | employer | state | w3 | labels | ssa",
    "Prints the forms or labels of a payer file: the employee copies (SSNs masked unless --unmasked), "
    "Copy D for the employer, Copy 1 for the state, Form W-3, Avery 5160 mailing labels, or Copy A "
    "(only onto preprinted forms). --split DIR writes one PDF per employee.",
};

inline constexpr CommandText kDesignCommand{
    "design",
    "NAME [--param NAME=VALUE ...] [--names] [--designs FILE] (--pdf OUT | --html OUT | --ndr OUT)",
    "Renders one page of a report design (--names fills every parameter with its name).",
};

// The printing program's file name, beside qnvr.
inline constexpr std::string_view kPrintingProgramName = "qnvr-print";

}  // namespace qnvr::cli
