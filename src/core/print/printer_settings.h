#pragma once
// The printer setup every printed form uses: printer, paper, paper source, orientation,
// collation, two-sided mode and copies, and whether the forms in the printer are the
// preprinted official ones (values only, moved by an alignment offset). One set for the
// program, kept in the settings store under the key "Printer" and loaded afresh by every
// print job.
#include <optional>
#include <string>
#include <vector>

#include "core/base/settings_store.h"
#include "core/print/print_modes.h"
#include "core/text/text.h"

namespace qnvr {

inline constexpr const char* kPrinterKey = "Printer";

// The widths the texts are cut to on loading.
inline constexpr int kPrinterNameWidth = 60;
inline constexpr int kPaperNameWidth = 40;
inline constexpr int kBinNameWidth = 40;

// The alignment offset moves every value at most half an inch either way.
inline constexpr double kMaxFormOffsetIn = 0.5;

struct PrinterSettings {
    std::string Name;   // empty: no saved setup
    std::string Paper;
    std::string Bin;
    int Orientation = 0;  // 0 portrait, 1 landscape (2 is accepted when read)
    bool Collate = false;
    int Duplex = 0;       // 0 none, 1 vertical ("Tablet"), 2 horizontal ("Book")
    int Copies = 0;       // 0 means one copy
    bool Preprinted = false;  // values only, onto the preprinted official forms
    double OffsetX = 0, OffsetY = 0;  // inches, right and down, -0.50 to +0.50
    bool operator==(const PrinterSettings&) const = default;
};

// Reads the values when the "Printer" key exists; otherwise leaves settings as they
// are. An orientation or duplex other than 0, 1 or 2, an offset outside -0.50 to
// +0.50, and a number that does not read as one, leave their field unchanged; so does
// a value that is missing (a setup saved before the preprinted forms choice). Texts
// longer than their field are cut.
void LoadPrinterSettings(const SettingsStore& store, PrinterSettings& settings);

// Writes the seven values of the printer, in order: "Name", "Paper", "Bin",
// "Orientation", "Collate", "Duplex", "Copies"; then "Preprinted" ("1"/"0"), "OffsetX"
// and "OffsetY" (decimal text with a '.').
void SavePrinterSettings(SettingsStore& store, const PrinterSettings& settings);

// An offset as the user types it: an optional sign, digits and at most one '.'
// ("0.25", "-.1", "+0.5"); blank is no offset. Nothing when the text is not such a
// number or lies outside -0.50 to +0.50.
std::optional<double> ParseFormOffset(const std::string& text);
// An offset as the store and the window show it: "0.25", "-0.1", "0".
std::string FormatFormOffset(double inches);

// The preprinted forms choice of the saved setup, for the print jobs: whether to print
// the values only, and the offset that moves them.
struct PreprintedSetup {
    bool on = false;
    double offsetX = 0, offsetY = 0;
    bool operator==(const PreprintedSetup&) const = default;
};
PreprintedSetup LoadPreprintedSetup(const SettingsStore& store);

// What the printer setup window holds when the user presses Ok: the three texts as
// shown, the paper and bin lists of the selected printer, and the copies text.
struct PrinterSetupEntry {
    std::string printerName;
    std::string paperName;
    std::vector<std::string> papers;
    std::string binName;
    std::vector<std::string> bins;
    std::string copies;
    std::string offsetX;
    std::string offsetY;
};

// Checks the entry in the window's order and throws EFieldException naming the control
// ("PrinterName", "PaperName", "BinName", "Copies", "OffsetX", "OffsetY") at the first
// failure.
void ValidatePrinterSetup(const PrinterSetupEntry& entry);

// Applies the saved setup to a running job's surface, as every job's OnBeforePrint does.
// With no saved printer the job keeps the choices of its output options step. Collation
// and two-sided mode reach only printers that support them.
template <class Surface>
void ApplyPrinterSetup(const SettingsStore& store, Surface& surface) {
    PrinterSettings settings;
    LoadPrinterSettings(store, settings);
    if (IsBlank(settings.Name)) return;
    surface.SelectPrinter(settings.Name);
    surface.SelectPaper(settings.Paper);
    surface.SelectBin(settings.Bin);
    surface.SetOrientation(OrientationFromStored(settings.Orientation));
    if (surface.SupportsCollate()) surface.SetCollate(settings.Collate);
    if (surface.SupportsDuplex()) surface.SetDuplex(DuplexFromStored(settings.Duplex));
    surface.SetCopies(settings.Copies);
}

}  // namespace qnvr
