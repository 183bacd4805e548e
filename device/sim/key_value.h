// Text files of "key = value" lines: the simulation presets and the missions read them the same
// way, each with its own keys and its own words for what is wrong.
//
// - A UTF-8 byte-order mark at the start is dropped (repeated marks too). CR LF, a lone CR and
//   a lone LF each end a line.
// - A '#' outside double quotes starts a comment that runs to the line's end; blank lines and
//   lines of nothing but a comment are skipped. A quote left open on a line is refused: the
//   comment after it would otherwise be taken for part of the value.
// - The key is what stands before the first '=', the value what follows it, both without the
//   blanks (spaces and tabs) around them. A key the format does not know is refused, as is a
//   key given again that the format takes once, and an empty value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct KeyValueKey {
    const char* name;
    bool repeats = false;  // may be given on many lines (a mission's goals)
};

enum class KeyValueFault {
    None,
    NoEquals,    // a line without '='
    OpenQuote,   // a quote left open
    UnknownKey,  // a key the format does not know
    Repeated,    // a key given again that the format takes once
    NoValue,     // nothing after the '='
};

struct KeyValueLine {
    int number = 0;             // counted from 1
    size_t key_index = 0;       // into the format's keys
    std::string_view key;       // as written
    std::string_view value;     // without the comment and the blanks around it
    std::string_view text;      // the line without the comment and the blanks around it
    KeyValueFault fault = KeyValueFault::None;
    int first_number = 0;       // Repeated: the line the key was given on first
};

class KeyValueReader {
   public:
    // `keys` must outlive the reader.
    KeyValueReader(std::string_view text, const std::vector<KeyValueKey>& keys);

    // The next line that holds a key. False at the end of the text, or at the first line that
    // breaks a rule above: `line.fault` then says which, and reading stops there.
    bool next(KeyValueLine& line);

   private:
    std::string_view text_;
    size_t pos_ = 0;
    int number_ = 0;
    const std::vector<KeyValueKey>& keys_;
    std::vector<int> given_on_;  // per key: the line it was first given on; 0: not yet
};

// A space or a tab: what the text files of settings take for blank.
inline bool key_value_blank(char c) {
    return c == ' ' || c == '\t';
}

// `s` without the blanks at its ends.
inline std::string_view key_value_trim(std::string_view s) {
    while (!s.empty() && key_value_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && key_value_blank(s.back())) s.remove_suffix(1);
    return s;
}

// A word of the file for a message, in single quotes: printable ASCII as itself, every other
// byte as \xNN, cut after 40 characters with "..." after them.
std::string key_value_shown(std::string_view word);

// Why `line` breaks the rules, in the words of the mission and lesson files; empty when it does
// not. (Preset files keep wording of their own, which stored reports quote.)
std::string key_value_fault_reason(const KeyValueLine& line);

// Whether `path` is a relative path that stays in the folder of the file naming it: no root, no
// step up. A backslash counts as a separator too, as it does where such files may have been
// written.
bool key_value_path_inside(std::string_view path);
