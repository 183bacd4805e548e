#include "shown_text.h"

std::string printable_ascii(std::string_view text, size_t max_chars) {
    std::string out;
    for (size_t i = 0; i < text.size() && i < max_chars; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            constexpr char HEX[] = "0123456789ABCDEF";
            out += "\\x";
            out += HEX[c >> 4];
            out += HEX[c & 15];
        }
    }
    if (text.size() > max_chars) out += "...";
    return out;
}
