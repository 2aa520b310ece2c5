#include "core/program/system_memory.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace qnvr {
namespace {

// The number of kilobytes on the line "Name:   1234 kB", or -1 when there is none.
long long FieldKb(std::string_view meminfo, std::string_view name) {
    std::size_t at = 0;
    while (at < meminfo.size()) {
        const std::size_t end = std::min(meminfo.find('\n', at), meminfo.size());
        const std::string_view line = meminfo.substr(at, end - at);
        if (line.size() > name.size() && line.substr(0, name.size()) == name && line[name.size()] == ':') {
            std::istringstream value{std::string(line.substr(name.size() + 1))};
            long long kb = -1;
            value >> kb;
            return value ? kb : -1;
        }
        at = end + 1;
    }
    return -1;
}

}  // namespace

MemoryFigures ParseMemInfo(std::string_view meminfo) {
    MemoryFigures figures;
    const long long total = FieldKb(meminfo, "MemTotal");
    if (total <= 0) return figures;
    figures.totalKb = static_cast<std::uint64_t>(total);
    long long available = FieldKb(meminfo, "MemAvailable");
    if (available < 0) {  // kernels before 3.14
        const long long parts[] = {FieldKb(meminfo, "MemFree"), FieldKb(meminfo, "Buffers"), FieldKb(meminfo, "Cached")};
        available = 0;
        for (long long part : parts) available += part > 0 ? part : 0;
    }
    if (available > total) available = total;
    figures.loadPercent = static_cast<int>(std::lround(100.0 * static_cast<double>(total - available) / static_cast<double>(total)));
    return figures;
}

MemoryFigures ReadMemoryFigures() {
    std::ifstream in("/proc/meminfo");
    std::stringstream text;
    text << in.rdbuf();
    return ParseMemInfo(text.str());
}

std::string FormatKilobytes(std::uint64_t kilobytes) {
    const std::string digits = std::to_string(kilobytes);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped + " KB";
}

std::string FormatLoad(int percent) { return std::to_string(percent) + " %"; }

}  // namespace qnvr
