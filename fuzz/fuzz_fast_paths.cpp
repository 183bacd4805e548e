// Fuzz target: the interpreter's shortcuts against the plain way (fast_paths_check.h). Each
// input is an editor text; the output lines, math messages, variables, memory, stop line and
// end position of the two runs must be the same, and any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fast_paths_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const char* what = fast_plain_difference(input)) {
        std::fprintf(stderr, "fast and plain paths differ: %s\n", what);
        std::abort();
    }
    return 0;
}
