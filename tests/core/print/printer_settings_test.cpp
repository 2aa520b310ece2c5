#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/base/errors.h"
#include "core/print/printer_settings.h"

namespace qnvr {

void PrintTo(const PrinterSettings& s, std::ostream* os) {
    *os << '{' << s.Name << '|' << s.Paper << '|' << s.Bin << '|' << s.Orientation << '|' << s.Collate << '|'
        << s.Duplex << '|' << s.Copies << '|' << s.Preprinted << '|' << s.OffsetX << '|' << s.OffsetY << '}';
}

namespace {

using Values = std::vector<std::pair<const char*, std::string>>;

MemorySettingsStore StoreWith(const Values& values) {
    MemorySettingsStore store;
    for (const auto& [name, value] : values) store.WriteString(kPrinterKey, name, value);
    return store;
}

PrinterSettings Loaded(const MemorySettingsStore& store, PrinterSettings start = {}) {
    LoadPrinterSettings(store, start);
    return start;
}

TEST(PrinterSettings, SavedSetupReadsBackUnderTheSevenValueNames) {
    const PrinterSettings saved{"Office Laser", "US Letter", "Tray 2", 1, true, 2, 7};
    MemorySettingsStore store;
    SavePrinterSettings(store, saved);
    for (const char* name : {"Name", "Paper", "Bin", "Orientation", "Collate", "Duplex", "Copies"})
        EXPECT_TRUE(store.ReadString(kPrinterKey, name)) << name;
    EXPECT_EQ(*store.ReadString(kPrinterKey, "Copies"), "7");
    EXPECT_EQ(*store.ReadString(kPrinterKey, "Duplex"), "2");
    EXPECT_EQ(Loaded(store), saved);
}

TEST(PrinterSettings, NoPrinterKeyChangesNothing) {
    MemorySettingsStore store;
    store.WriteString("Backup", "Folder", "/tmp");
    const PrinterSettings before{"Kept", "A4", "", 1, true, 1, 3};
    EXPECT_EQ(Loaded(store, before), before);
}

TEST(PrinterSettings, LoadingKeepsFieldsWhoseStoredValueIsOutOfRangeOrNoNumber) {
    const PrinterSettings before{"P", "", "", 1, true, 2, 5};
    struct Case {
        Values stored;
        PrinterSettings expected;
    } cases[] = {
        {{{"Orientation", "3"}}, before},
        {{{"Orientation", "-1"}}, before},
        {{{"Orientation", "2"}}, {"P", "", "", 2, true, 2, 5}},  // accepted when read
        {{{"Duplex", "7"}}, before},
        {{{"Duplex", "0"}}, {"P", "", "", 1, true, 0, 5}},
        {{{"Copies", "lots"}}, before},
        {{{"Copies", "99999999999"}}, before},
        {{{"Copies", "0"}}, {"P", "", "", 1, true, 2, 0}},
        {{{"Collate", "0"}}, {"P", "", "", 1, false, 2, 5}},
        {{{"Collate", "false"}}, {"P", "", "", 1, false, 2, 5}},
        {{{"Collate", "maybe"}}, before},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Loaded(StoreWith(c.stored), before), c.expected) << c.stored.front().first << "=" << c.stored.front().second;
    }
}

TEST(PrinterSettings, LongTextsAreCutToTheirFieldWidths) {
    const auto store = StoreWith({{"Name", std::string(70, 'N')}, {"Paper", std::string(45, 'P')},
                                  {"Bin", std::string(41, 'B') + "\xC3\xA9"}});
    const PrinterSettings s = Loaded(store);
    EXPECT_EQ(s.Name, std::string(60, 'N'));
    EXPECT_EQ(s.Paper, std::string(40, 'P'));
    EXPECT_EQ(s.Bin, std::string(40, 'B'));
}

TEST(PrinterSettings, PreprintedFormsAndOffsetsAreSavedAfterTheSevenValuesAndReadBack) {
    PrinterSettings saved{"Office Laser", "US Letter", "Tray 2", 1, true, 2, 7};
    saved.Preprinted = true;
    saved.OffsetX = 0.25;
    saved.OffsetY = -0.5;
    MemorySettingsStore store;
    SavePrinterSettings(store, saved);
    EXPECT_EQ(*store.ReadString(kPrinterKey, "Preprinted"), "1");
    EXPECT_EQ(*store.ReadString(kPrinterKey, "OffsetX"), "0.25");
    EXPECT_EQ(*store.ReadString(kPrinterKey, "OffsetY"), "-0.5");
    EXPECT_EQ(Loaded(store), saved);
    EXPECT_EQ(LoadPreprintedSetup(store), (PreprintedSetup{true, 0.25, -0.5}));

    saved.Preprinted = false;
    saved.OffsetX = saved.OffsetY = 0;
    SavePrinterSettings(store, saved);
    EXPECT_EQ(*store.ReadString(kPrinterKey, "Preprinted"), "0");
    EXPECT_EQ(*store.ReadString(kPrinterKey, "OffsetX"), "0");
    EXPECT_EQ(Loaded(store), saved);
    EXPECT_EQ(LoadPreprintedSetup(MemorySettingsStore{}), PreprintedSetup{});
}

TEST(PrinterSettings, ASetupSavedWithoutTheOffsetsLoadsWithTheirDefaults) {
    const auto store = StoreWith({{"Name", "Office Laser"}, {"Paper", "US Letter"}, {"Bin", ""}, {"Orientation", "0"},
                                  {"Collate", "1"}, {"Duplex", "0"}, {"Copies", "2"}});
    const PrinterSettings loaded = Loaded(store);
    EXPECT_EQ(loaded, (PrinterSettings{"Office Laser", "US Letter", "", 0, true, 0, 2}));
    EXPECT_FALSE(loaded.Preprinted);
}

TEST(PrinterSettings, StoredOffsetsOutOfRangeOrNoNumberAreIgnored) {
    PrinterSettings before{"P", "", "", 0, false, 0, 1};
    before.Preprinted = true;
    before.OffsetX = 0.1;
    before.OffsetY = -0.1;
    struct Case {
        Values stored;
        double x, y;
        bool preprinted;
    } cases[] = {
        {{{"OffsetX", "0.5"}, {"OffsetY", "-0.50"}}, 0.5, -0.5, true},
        {{{"OffsetX", "0.51"}, {"OffsetY", "-3"}}, 0.1, -0.1, true},
        {{{"OffsetX", "0,25"}, {"OffsetY", "1e-1"}}, 0.1, -0.1, true},
        {{{"OffsetX", "left"}, {"OffsetY", ""}}, 0.1, -0.1, true},
        {{{"OffsetX", "nan"}, {"OffsetY", "inf"}}, 0.1, -0.1, true},
        {{{"OffsetX", " .25 "}, {"OffsetY", "+0.05"}}, 0.25, 0.05, true},
        {{{"Preprinted", "0"}}, 0.1, -0.1, false},
        {{{"Preprinted", "perhaps"}}, 0.1, -0.1, true},
    };
    for (const auto& c : cases) {
        PrinterSettings expected = before;
        expected.OffsetX = c.x;
        expected.OffsetY = c.y;
        expected.Preprinted = c.preprinted;
        EXPECT_EQ(Loaded(StoreWith(c.stored), before), expected) << c.stored.front().first << "=" << c.stored.front().second;
    }
}

TEST(PrinterSettings, OffsetsReadAsTypedWithinHalfAnInch) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"", 0.0},      {"  ", 0.0},     {"0", 0.0},      {"-0", 0.0},    {"0.25", 0.25}, {"-.1", -0.1},
        {"+0.5", 0.5},  {"-0.50", -0.5}, {"0.501", {}},   {"-0.51", {}},  {"1", {}},      {".", {}},
        {"-", {}},      {"0.2.1", {}},   {"1e-2", {}},    {"0,2", {}},    {"--1", {}},    {"0x1", {}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ParseFormOffset(text), expected) << '"' << text << '"';
    EXPECT_EQ(FormatFormOffset(-0.05), "-0.05");
    EXPECT_EQ(FormatFormOffset(0.00001), "0.00001");
    EXPECT_EQ(ParseFormOffset(FormatFormOffset(0.00001)), 0.00001);
}

PrinterSetupEntry Entry() {
    return {"Office Laser", "US Letter", {"US Letter", "A4"}, "Tray 1", {"Tray 1", "Tray 2"}, "1", "", ""};
}

TEST(PrinterSettings, ValidationStopsAtTheFirstFailureWithItsControlAndMessage) {
    struct Case {
        const char* what;
        PrinterSetupEntry entry;
        const char* field;  // nullptr: passes
        const char* message;
    };
    auto with = [](auto change) {
        PrinterSetupEntry e = Entry();
        change(e);
        return e;
    };
    const Case cases[] = {
        {"complete", Entry(), nullptr, ""},
        {"no printer", with([](auto& e) { e.printerName = "  "; e.copies = "0"; }), "PrinterName", "Printer has not been selected"},
        {"no paper", with([](auto& e) { e.paperName = ""; e.binName = ""; }), "PaperName", "Paper size has not been selected"},
        {"no paper, printer lists none", with([](auto& e) { e.paperName = ""; e.papers = {}; }), nullptr, ""},
        {"no paper, list of blanks", with([](auto& e) { e.paperName = ""; e.papers = {"", " "}; }), nullptr, ""},
        {"no bin", with([](auto& e) { e.binName = " "; }), "BinName", "Paper source has not been selected"},
        {"no bin, printer lists none", with([](auto& e) { e.binName = ""; e.bins = {}; }), nullptr, ""},
        {"copies empty", with([](auto& e) { e.copies = ""; }), "Copies", "Copies must not be 0"},
        {"copies 00", with([](auto& e) { e.copies = "00"; }), "Copies", "Copies must not be 0"},
        {"copies 7", with([](auto& e) { e.copies = "7"; }), nullptr, ""},
        {"offsets at the limits", with([](auto& e) { e.offsetX = "-0.50"; e.offsetY = "+0.5"; }), nullptr, ""},
        {"offset too far right", with([](auto& e) { e.offsetX = "0.6"; e.offsetY = "x"; }), "OffsetX",
         "The horizontal offset must be a number of inches from -0.50 to +0.50"},
        {"offset no number", with([](auto& e) { e.offsetX = "-"; }), "OffsetX",
         "The horizontal offset must be a number of inches from -0.50 to +0.50"},
        {"vertical offset too far up", with([](auto& e) { e.offsetX = "0.1"; e.offsetY = "-0.75"; }), "OffsetY",
         "The vertical offset must be a number of inches from -0.50 to +0.50"},
        {"copies before offsets", with([](auto& e) { e.copies = "0"; e.offsetY = "9"; }), "Copies", "Copies must not be 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.field) {
            EXPECT_NO_THROW(ValidatePrinterSetup(c.entry));
            continue;
        }
        try {
            ValidatePrinterSetup(c.entry);
            ADD_FAILURE() << "passed";
        } catch (const EFieldException& e) {
            EXPECT_EQ(e.FieldName(), c.field);
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

// Records what a job's surface is asked to do.
struct RecordingSurface {
    bool collateSupported = false, duplexSupported = false;
    std::vector<std::string> calls;
    void SelectPrinter(const std::string& n) { calls.push_back("printer " + n); }
    void SelectPaper(const std::string& n) { calls.push_back("paper " + n); }
    void SelectBin(const std::string& n) { calls.push_back("bin " + n); }
    void SetOrientation(PageOrientation o) { calls.push_back("orientation " + std::to_string(StoredOrientation(o))); }
    bool SupportsCollate() const { return collateSupported; }
    void SetCollate(bool c) { calls.push_back(std::string("collate ") + (c ? "on" : "off")); }
    bool SupportsDuplex() const { return duplexSupported; }
    void SetDuplex(DuplexMode d) { calls.push_back("duplex " + std::to_string(StoredDuplex(d))); }
    void SetCopies(int c) { calls.push_back("copies " + std::to_string(c)); }
};

TEST(PrinterSettings, ApplyingToAJobSelectsInOrderAndSkipsWhatThePrinterCannotDo) {
    MemorySettingsStore store;
    SavePrinterSettings(store, {"Office Laser", "US Letter", "Tray 2", 1, true, 2, 7});

    RecordingSurface plain;
    ApplyPrinterSetup(store, plain);
    EXPECT_EQ(plain.calls, (std::vector<std::string>{"printer Office Laser", "paper US Letter", "bin Tray 2",
                                                      "orientation 1", "copies 7"}));

    RecordingSurface capable{true, true, {}};
    ApplyPrinterSetup(store, capable);
    EXPECT_EQ(capable.calls, (std::vector<std::string>{"printer Office Laser", "paper US Letter", "bin Tray 2",
                                                        "orientation 1", "collate on", "duplex 2", "copies 7"}));
}

TEST(PrinterSettings, ApplyingWithoutASavedPrinterLeavesTheJobsOwnChoices) {
    RecordingSurface surface{true, true, {}};
    MemorySettingsStore firstRun;
    ApplyPrinterSetup(firstRun, surface);
    MemorySettingsStore blankName;
    SavePrinterSettings(blankName, {"  ", "A4", "", 1, true, 1, 3});
    ApplyPrinterSetup(blankName, surface);
    EXPECT_TRUE(surface.calls.empty());
}

}  // namespace
}  // namespace qnvr
