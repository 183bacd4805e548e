// Fuzz target: the checker over any editor text. It must never crash or read out of bounds,
// and every finding must lie on a line of the text, in order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "checker.h"
#include "program_text.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text =
        file_bytes_to_text(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<std::string> lines = split_lines(text);
    // The first bytes also name characters without an 8-bit form.
    std::vector<TextPoint> foreign;
    for (size_t i = 0; i + 1 < size && i < 8; i += 2) {
        foreign.push_back({data[i] % 16, data[i + 1] % 64});
    }
    std::sort(foreign.begin(), foreign.end(), [](const TextPoint& a, const TextPoint& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    const std::vector<Finding> findings = check_program(text, foreign);
    for (size_t k = 0; k < findings.size(); ++k) {
        const Finding& f = findings[k];
        check(f.line >= 0 && static_cast<size_t>(f.line) < lines.size());
        check(f.column >= 0 && f.length >= 1);
        const size_t width = std::max<size_t>(lines[static_cast<size_t>(f.line)].size(), 1);
        check(static_cast<size_t>(f.column) + static_cast<size_t>(f.length) <= width);
        check(!f.message.empty() && !f.help_page.empty());
        if (k > 0) {
            const Finding& e = findings[k - 1];
            check(e.line < f.line || (e.line == f.line && e.column <= f.column));
        }
    }
    return 0;
}
