// The About window's memory figures, from the kernel's meminfo text.
#include <gtest/gtest.h>

#include "core/program/system_memory.h"

namespace qnvr {
namespace {

TEST(SystemMemory, TotalAndLoadFromMeminfo) {
    struct Case {
        const char* meminfo;
        std::uint64_t total;
        int load;
    } cases[] = {
        {"MemTotal:       16318412 kB\nMemFree:         1000000 kB\nMemAvailable:    4079603 kB\n", 16318412, 75},
        {"MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 150 kB\n", 1000, 70},  // no MemAvailable
        {"MemTotal: 1000 kB\nMemAvailable: 1000 kB\n", 1000, 0},
        {"", 0, 0},
        {"MemTotal: garbage\n", 0, 0},
    };
    for (const Case& c : cases) {
        const MemoryFigures figures = ParseMemInfo(c.meminfo);
        EXPECT_EQ(figures.totalKb, c.total) << c.meminfo;
        EXPECT_EQ(figures.loadPercent, c.load) << c.meminfo;
    }
    EXPECT_GT(ReadMemoryFigures().totalKb, 0u);  // this machine's
}

TEST(SystemMemory, FiguresAsTheWindowShowsThem) {
    struct Case {
        std::uint64_t kb;
        const char* text;
    } cases[] = {{0, "0 KB"}, {999, "999 KB"}, {1000, "1,000 KB"}, {16318412, "16,318,412 KB"}, {123456, "123,456 KB"}};
    for (const Case& c : cases) EXPECT_EQ(FormatKilobytes(c.kb), c.text);
    EXPECT_EQ(FormatLoad(42), "42 %");
}

}  // namespace
}  // namespace qnvr
