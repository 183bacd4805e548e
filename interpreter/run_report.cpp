#include "run_report.h"

#include <cstdio>

namespace {

struct KindText {
    const char* name;
    // The message line; for the kinds with numbers in it, what comes before the first one.
    const char* message;
};

// In the order of ReportKind.
constexpr KindText kind_texts[REPORT_KIND_COUNT] = {
    {"none", ""},
    {"expected-token", "ERROR: Expected token "},
    {"unknown-command", "ERROR: Unknown command"},
    {"division-by-zero", "ERROR: Division by zero"},
    {"overflow", "ERROR: Floating point overflow"},
    {"invalid-operation", "ERROR: Invalid floating point operation"},
    {"next-mismatch", "ERROR: NEXT does not match. Expected "},
    {"for-stack-overflow", "ERROR: FOR stack overflow"},
    {"gosub-stack-overflow", "ERROR: GOSUB stack overflow"},
    {"return-mismatch", "ERROR: RETURN does not match"},
    {"program-finished", "Program finished."},
    {"line-holds-nul", "ERROR: Line holds a NUL character"},
    {"line-holds-foreign-character", "ERROR: Line holds a character that a program cannot use"},
    {"too-many-lines", "ERROR: Program too large: "},
    {"too-many-bytes", "ERROR: Program too large: "},
};

int index_of(ReportKind kind) {
    const int k = static_cast<int>(kind);
    return k >= 0 && k < REPORT_KIND_COUNT ? k : 0;
}

// snprintf's count, kept within the line.
int clamped(int n) {
    return n < 0 ? 0 : n >= ReportLines::MAX_CHARS ? ReportLines::MAX_CHARS - 1 : n;
}

}  // namespace

ReportLines report_lines(const RunReport& r) {
    ReportLines out;
    if (r.kind == ReportKind::None) return out;
    if (r.line >= 0) {
        out.length[0] = clamped(std::snprintf(out.text[0], ReportLines::MAX_CHARS,
                                              "ERROR in line: %d", r.line));
        out.count = 1;
    }
    char* const line = out.text[out.count];
    constexpr size_t size = ReportLines::MAX_CHARS;
    const char* const message = kind_texts[index_of(r.kind)].message;
    int n = 0;
    switch (r.kind) {
        case ReportKind::ExpectedToken:
        case ReportKind::NextMismatch:
            n = std::snprintf(line, size, "%s%d, got %d", message, r.expected, r.got);
            break;
        case ReportKind::TooManyLines:
            n = std::snprintf(line, size, "%s%lld lines, limit %lld", message, r.amount, r.limit);
            break;
        case ReportKind::TooManyBytes:
            n = std::snprintf(line, size, "%s%lld bytes, limit %lld", message, r.amount, r.limit);
            break;
        default:
            n = std::snprintf(line, size, "%s", message);
            break;
    }
    out.length[out.count++] = clamped(n);
    return out;
}

std::string report_text(const RunReport& report) {
    const ReportLines lines = report_lines(report);
    std::string text;
    for (int i = 0; i < lines.count; ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

std::string report_message(const RunReport& report) {
    const ReportLines lines = report_lines(report);
    if (lines.count == 0) return "";
    std::string_view message = lines[lines.count - 1];
    constexpr std::string_view prefix = "ERROR: ";
    if (message.starts_with(prefix)) message.remove_prefix(prefix.size());
    return std::string(message);
}

const char* report_kind_name(ReportKind kind) {
    return kind_texts[index_of(kind)].name;
}

bool report_kind_from_name(std::string_view name, ReportKind& kind) {
    for (int k = 0; k < REPORT_KIND_COUNT; ++k) {
        if (name == kind_texts[k].name) {
            kind = static_cast<ReportKind>(k);
            return true;
        }
    }
    return false;
}
