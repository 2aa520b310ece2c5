#include "core/print/printer_settings.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "core/base/errors.h"

namespace qnvr {
namespace {

// A stored whole number, or nothing when the value is missing or not wholly a number.
std::optional<long long> ReadNumber(const SettingsStore& store, const char* name) {
    const auto stored = store.ReadString(kPrinterKey, name);
    if (!stored) return std::nullopt;
    const std::string text = Trim(*stored);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

void ReadText(const SettingsStore& store, const char* name, int width, std::string& field) {
    if (const auto text = store.ReadString(kPrinterKey, name)) field = LeftStr(*text, width);
}

// Orientation and duplex take only 0, 1 and 2; anything else keeps the field as it was.
void ReadMode(const SettingsStore& store, const char* name, int& field) {
    const auto value = ReadNumber(store, name);
    if (value && *value >= 0 && *value <= 2) field = static_cast<int>(*value);
}

void ReadFlag(const SettingsStore& store, const char* name, bool& field) {
    const auto text = store.ReadString(kPrinterKey, name);
    if (!text) return;
    const std::string value = UpperCase(Trim(*text));
    if (value == "TRUE") field = true;
    else if (value == "FALSE") field = false;
    else if (const auto number = ReadNumber(store, name)) field = *number != 0;
}

void ReadCopies(const SettingsStore& store, int& field) {
    const auto value = ReadNumber(store, "Copies");
    if (value && *value >= INT32_MIN && *value <= INT32_MAX) field = static_cast<int>(*value);
}

void ReadOffset(const SettingsStore& store, const char* name, double& field) {
    const auto text = store.ReadString(kPrinterKey, name);
    if (!text || IsBlank(*text)) return;
    if (const auto value = ParseFormOffset(*text)) field = *value;
}

// Blank, or every entry of the list blank: the printer offers nothing to choose.
bool OffersChoice(const std::vector<std::string>& items) {
    for (const auto& item : items)
        if (!IsBlank(item)) return true;
    return false;
}

}  // namespace

void LoadPrinterSettings(const SettingsStore& store, PrinterSettings& settings) {
    if (!store.KeyExists(kPrinterKey)) return;
    ReadText(store, "Name", kPrinterNameWidth, settings.Name);
    ReadText(store, "Paper", kPaperNameWidth, settings.Paper);
    ReadText(store, "Bin", kBinNameWidth, settings.Bin);
    ReadMode(store, "Orientation", settings.Orientation);
    ReadFlag(store, "Collate", settings.Collate);
    ReadMode(store, "Duplex", settings.Duplex);
    ReadCopies(store, settings.Copies);
    ReadFlag(store, "Preprinted", settings.Preprinted);
    ReadOffset(store, "OffsetX", settings.OffsetX);
    ReadOffset(store, "OffsetY", settings.OffsetY);
}

void SavePrinterSettings(SettingsStore& store, const PrinterSettings& settings) {
    store.WriteString(kPrinterKey, "Name", settings.Name);
    store.WriteString(kPrinterKey, "Paper", settings.Paper);
    store.WriteString(kPrinterKey, "Bin", settings.Bin);
    store.WriteString(kPrinterKey, "Orientation", std::to_string(settings.Orientation));
    store.WriteString(kPrinterKey, "Collate", settings.Collate ? "1" : "0");
    store.WriteString(kPrinterKey, "Duplex", std::to_string(settings.Duplex));
    store.WriteString(kPrinterKey, "Copies", std::to_string(settings.Copies));
    store.WriteString(kPrinterKey, "Preprinted", settings.Preprinted ? "1" : "0");
    store.WriteString(kPrinterKey, "OffsetX", FormatFormOffset(settings.OffsetX));
    store.WriteString(kPrinterKey, "OffsetY", FormatFormOffset(settings.OffsetY));
}

std::optional<double> ParseFormOffset(const std::string& text) {
    std::string number = Trim(text);
    if (number.empty()) return 0.0;
    bool negative = false;
    if (number[0] == '+' || number[0] == '-') {
        negative = number[0] == '-';
        number.erase(0, 1);
    }
    // Digits with at most one '.', and at least one digit: no exponent, no second sign.
    int digits = 0, points = 0;
    for (const char c : number) {
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.') ++points;
        else return std::nullopt;
    }
    if (digits == 0 || points > 1) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    if (negative) value = -value;
    if (!(std::fabs(value) <= kMaxFormOffsetIn)) return std::nullopt;
    return value == 0 ? 0.0 : value;  // no "-0"
}

std::string FormatFormOffset(double inches) {
    if (inches == 0) return "0";
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, inches, std::chars_format::fixed);
    return error == std::errc() ? std::string(text, end) : "0";
}

PreprintedSetup LoadPreprintedSetup(const SettingsStore& store) {
    PrinterSettings settings;
    LoadPrinterSettings(store, settings);
    return {settings.Preprinted, settings.OffsetX, settings.OffsetY};
}

void ValidatePrinterSetup(const PrinterSetupEntry& entry) {
    if (IsBlank(entry.printerName)) throw EFieldException("PrinterName", "Printer has not been selected");
    if (IsBlank(entry.paperName) && OffersChoice(entry.papers))
        throw EFieldException("PaperName", "Paper size has not been selected");
    if (IsBlank(entry.binName) && OffersChoice(entry.bins))
        throw EFieldException("BinName", "Paper source has not been selected");
    long long copies = 0;
    try {
        copies = StrToInteger(entry.copies);
    } catch (const EConvertError&) {
        copies = 0;  // the field takes digits only; what is no number counts as none
    }
    if (copies == 0) throw EFieldException("Copies", "Copies must not be 0");
    if (!ParseFormOffset(entry.offsetX))
        throw EFieldException("OffsetX", "The horizontal offset must be a number of inches from -0.50 to +0.50");
    if (!ParseFormOffset(entry.offsetY))
        throw EFieldException("OffsetY", "The vertical offset must be a number of inches from -0.50 to +0.50");
}

}  // namespace qnvr
