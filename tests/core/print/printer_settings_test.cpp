#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/base/errors.h"
#include "core/print/printer_settings.h"

namespace qnvr {

void PrintTo(const PrinterSettings& s, std::ostream* os) {
    *os << '{' << s.Name << '|' << s.Paper << '|' << s.Bin << '|' << s.Orientation << '|' << s.Collate << '|'
        << s.Duplex << '|' << s.Copies << '}';
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

PrinterSetupEntry Entry() {
    return {"Office Laser", "US Letter", {"US Letter", "A4"}, "Tray 1", {"Tray 1", "Tray 2"}, "1"};
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
    void SetOrientation(int o) { calls.push_back("orientation " + std::to_string(o)); }
    bool SupportsCollate() const { return collateSupported; }
    void SetCollate(bool c) { calls.push_back(std::string("collate ") + (c ? "on" : "off")); }
    bool SupportsDuplex() const { return duplexSupported; }
    void SetDuplex(int d) { calls.push_back("duplex " + std::to_string(d)); }
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
