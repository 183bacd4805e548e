// Fuzz target: the conversions between program file bytes and the editor's text. SAVE after
// LOAD must not change a program, and a file written by SAVE must load back as the text that
// was saved, byte for byte, whatever the bytes are.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "program_text.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// Every '\n' of a saved file is the second half of a CR LF, and every CR starts one.
void check_only_crlf(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') check(i + 1 < bytes.size() && bytes[i + 1] == '\n');
        if (bytes[i] == '\n') check(i > 0 && bytes[i - 1] == '\r');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // An editor text never holds a CR, nor starts with a byte-order mark: the input without
    // them is one.
    std::string text;
    for (char c : bytes) {
        if (c != '\r') text += c;
    }
    text = std::string(without_byte_order_mark(text));
    const std::string saved = text_to_file_bytes(text);
    check_only_crlf(saved);
    check(file_bytes_to_text(saved) == text);

    // Any file, as LOAD reads it and as SAVE would write it back.
    const std::string loaded = file_bytes_to_text(bytes);
    check(loaded.find('\r') == std::string::npos);
    const auto file_lines = split_lines(bytes);
    check(split_lines(loaded) == file_lines);
    const std::string resaved = text_to_file_bytes(loaded);
    check_only_crlf(resaved);
    check(split_lines(resaved) == file_lines);
    // A file already in the saved form comes back unchanged.
    check(text_to_file_bytes(file_bytes_to_text(resaved)) == resaved);

    for (const std::string& line : file_lines) {
        check(line.find_first_of("\r\n") == std::string::npos);
    }
    // The compact list the runner keeps holds the same lines.
    const LineList list = split_line_list(std::string(bytes));
    check(list.size() == file_lines.size());
    for (size_t i = 0; i < list.size(); ++i) check(list[i] == file_lines[i]);
    return 0;
}
