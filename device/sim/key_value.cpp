#include "key_value.h"

#include <algorithm>

KeyValueReader::KeyValueReader(std::string_view text, const std::vector<KeyValueKey>& keys)
    : text_(text), keys_(keys), given_on_(keys.size(), 0) {
    constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    while (text_.starts_with(BYTE_ORDER_MARK)) text_.remove_prefix(BYTE_ORDER_MARK.size());
}

bool KeyValueReader::next(KeyValueLine& line) {
    while (pos_ < text_.size()) {
        size_t end = pos_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
        std::string_view raw = text_.substr(pos_, end - pos_);
        if (end < text_.size()) {
            end += text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1;
        }
        pos_ = end;
        ++number_;

        line = KeyValueLine{};
        line.number = number_;
        bool quoted = false;
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '"') quoted = !quoted;
            if (raw[i] == '#' && !quoted) {
                raw = raw.substr(0, i);
                break;
            }
        }
        line.text = key_value_trim(raw);
        if (line.text.empty()) continue;
        const auto stop = [&](KeyValueFault fault) {
            line.fault = fault;
            pos_ = text_.size();
            return false;
        };
        const size_t eq = line.text.find('=');
        if (eq == std::string_view::npos) return stop(KeyValueFault::NoEquals);
        line.key = key_value_trim(line.text.substr(0, eq));
        line.value = key_value_trim(line.text.substr(eq + 1));
        if (quoted) return stop(KeyValueFault::OpenQuote);
        while (line.key_index < keys_.size() && line.key != keys_[line.key_index].name) {
            ++line.key_index;
        }
        if (line.key_index == keys_.size()) return stop(KeyValueFault::UnknownKey);
        int& first = given_on_[line.key_index];
        if (first != 0 && !keys_[line.key_index].repeats) {
            line.first_number = first;
            return stop(KeyValueFault::Repeated);
        }
        if (first == 0) first = number_;
        if (line.value.empty()) return stop(KeyValueFault::NoValue);
        return true;
    }
    return false;
}

std::string key_value_shown(std::string_view word) {
    constexpr size_t MAX_SHOWN = 40;
    constexpr char HEX[] = "0123456789ABCDEF";
    std::string out = "'";
    for (size_t i = 0; i < word.size() && i < MAX_SHOWN; ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += HEX[c >> 4];
            out += HEX[c & 15];
        }
    }
    if (word.size() > MAX_SHOWN) out += "...";
    return out + "'";
}

std::string key_value_fault_reason(const KeyValueLine& line) {
    const std::string key(line.key);
    switch (line.fault) {
        case KeyValueFault::None:
            return {};
        case KeyValueFault::NoEquals:
            return "not a line \"key = value\"";
        case KeyValueFault::OpenQuote:
            return "a quote is left open";
        case KeyValueFault::UnknownKey:
            return "unknown key " + key_value_shown(key);
        case KeyValueFault::Repeated:
            return key + " is given twice";
        case KeyValueFault::NoValue:
            return key + " needs a value";
    }
    return {};
}

bool key_value_path_inside(std::string_view path) {
    if (path.empty() || path.front() == '/' || path.front() == '\\') return false;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find_first_of("/\\", start), path.size());
        if (path.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}
