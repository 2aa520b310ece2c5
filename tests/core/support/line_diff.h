#pragma once
// A line diff of two texts for test failures: the changed lines marked "-" (expected
// only) and "+" (actual only) with a few unchanged lines around them, in hunks headed
// "@@ -line,count +line,count @@" as diff -u writes them. Empty when the texts are equal.
#include <algorithm>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace qnvr::testing {

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline std::string LineDiff(const std::string& expected, const std::string& actual, std::size_t context = 3) {
    if (expected == actual) return {};
    const std::vector<std::string> a = SplitLines(expected), b = SplitLines(actual);
    // The lines both share at the start and the end stay out of the quadratic part.
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    const std::size_t n = a.size() - head - tail, m = b.size() - head - tail;
    // lcs[i][j]: the longest common subsequence of a's middle from i and b's middle from j.
    std::vector<std::vector<unsigned>> lcs(n + 1, std::vector<unsigned>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            lcs[i][j] = a[head + i] == b[head + j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);

    // The whole edit script: ' ' kept, '-' expected only, '+' actual only.
    struct Edit {
        char mark;
        std::size_t aLine, bLine;  // the next line of each side, from 0
    };
    std::vector<Edit> edits;
    for (std::size_t k = 0; k < head; ++k) edits.push_back({' ', k, k});
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[head + i] == b[head + j]) {
            edits.push_back({' ', head + i++, head + j++});
        } else if (i < n && (j == m || lcs[i + 1][j] >= lcs[i][j + 1])) {
            edits.push_back({'-', head + i++, head + j});  // removals before additions, as diff -u
        } else {
            edits.push_back({'+', head + i, head + j++});
        }
    }
    for (std::size_t k = 0; k < tail; ++k) edits.push_back({' ', head + n + k, head + m + k});

    // Hunks: every change with up to context kept lines either side, joined when they touch.
    std::string out;
    std::size_t at = 0;
    while (at < edits.size()) {
        while (at < edits.size() && edits[at].mark == ' ') ++at;
        if (at == edits.size()) break;
        std::size_t begin = at >= context ? at - context : 0, end = at;
        for (std::size_t k = at; k < edits.size(); ++k) {
            if (edits[k].mark != ' ') end = k + 1;
            else if (k >= end + context * 2) break;
        }
        end = std::min(edits.size(), end + context);
        std::size_t aCount = 0, bCount = 0;
        std::string body;
        for (std::size_t k = begin; k < end; ++k) {
            const Edit& e = edits[k];
            if (e.mark != '+') ++aCount;
            if (e.mark != '-') ++bCount;
            body += e.mark;
            body += e.mark == '+' ? b[e.bLine] : a[e.aLine];
            body += '\n';
        }
        out += "@@ -" + std::to_string(edits[begin].aLine + (aCount ? 1 : 0)) + "," + std::to_string(aCount) + " +" +
               std::to_string(edits[begin].bLine + (bCount ? 1 : 0)) + "," + std::to_string(bCount) + " @@\n" + body;
        at = end;
    }
    return out;
}

}  // namespace qnvr::testing
