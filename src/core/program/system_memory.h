#pragma once
// The memory figures of the About window: the machine's physical memory and how much of
// it is in use, as the kernel reports them in /proc/meminfo.
#include <cstdint>
#include <string>
#include <string_view>

namespace qnvr {

struct MemoryFigures {
    std::uint64_t totalKb = 0;  // MemTotal
    int loadPercent = 0;        // the share of MemTotal not available (MemAvailable), whole percent
};

// Reads the figures from the text of /proc/meminfo; missing lines give zeros.
MemoryFigures ParseMemInfo(std::string_view meminfo);
MemoryFigures ReadMemoryFigures();  // from /proc/meminfo

// "16,318,412 KB": thousands separators, then " KB".
std::string FormatKilobytes(std::uint64_t kilobytes);
// "42 %".
std::string FormatLoad(int percent);

}  // namespace qnvr
