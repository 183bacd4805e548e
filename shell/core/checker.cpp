#include "checker.h"

#include "checker_detail.h"
#include "eval.h"
#include "tokenizer.h"

namespace checker_detail {

void FindingCollector::push_back(Finding f) {
    kept.push_back(std::move(f));
    if (limit != SIZE_MAX && kept.size() >= 2 * std::max<size_t>(limit, 1)) keep_first();
}

void FindingCollector::keep_first() {
    std::stable_sort(kept.begin(), kept.end(), [](const Finding& a, const Finding& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    if (kept.size() > limit) {
        dropped += kept.size() - limit;
        dropped_warnings += static_cast<size_t>(
            std::count_if(kept.begin() + static_cast<std::ptrdiff_t>(limit), kept.end(),
                          [](const Finding& f) { return f.severity == Severity::Warning; }));
        kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(limit), kept.end());
    }
}

Checker::Checker(std::string_view editor_text, std::span<const TextPoint> foreign, size_t limit)
    : foreign_(foreign) {
    findings_.limit = limit;
    read_lines(editor_text);
}

BoundedFindings Checker::run() {
    tokens_.push_back({TK_ENDOFINPUT, last_line_, 0, 0, static_cast<int>(text_.size())});
    text_.push_back('\0');
    parse();
    check_labels();
    settle_deferred();
    build_flow();
    check_loops();
    check_flow();
    check_subroutines();
    findings_.keep_first();
    return {std::move(findings_.kept), findings_.dropped, findings_.dropped_warnings};
}

void Checker::add(int line, int column, int length, Severity severity, Text text) {
    findings_.push_back({line, column, std::max(length, 1), severity, std::move(text.message),
                         std::move(text.page)});
}

std::string Checker::text_of(int from, int to) const {
    if (from >= to) return {};
    const Token& a = tokens_[static_cast<size_t>(from)];
    const Token& b = tokens_[static_cast<size_t>(to - 1)];
    return text_.substr(static_cast<size_t>(a.offset),
                        static_cast<size_t>(b.offset + b.length - a.offset));
}

bool Checker::adjacent(size_t a, size_t b) const {
    return tokens_[a].line == tokens_[b].line &&
           tokens_[a].column + tokens_[a].length == tokens_[b].column;
}

Finding Checker::finding_at(size_t t, Severity severity, Text text) const {
    size_t k = t;
    while (tokens_[k].length == 0 && k > 0 && tokens_[k - 1].line == tokens_[k].line) --k;
    const Token& at = tokens_[k];
    return {at.line,
            at.column,
            std::max(at.length, 1),
            severity,
            std::move(text.message),
            std::move(text.page)};
}

Finding Checker::finding_over(size_t from, size_t to, Severity severity, Text text) const {
    Finding f = finding_at(from, severity, std::move(text));
    const Token& last = tokens_[to];
    if (last.line == f.line && last.column + last.length > f.column) {
        f.length = last.column + last.length - f.column;
    }
    return f;
}

int32_t Checker::label_number(size_t at) const {
    // A run reads the label number from the text whatever token stands there.
    return to_int(parse_number(text_.c_str() + tokens_[at].offset));
}

std::string Checker::token_phrase(size_t t) const {
    const Token& token = tokens_[t];
    return msg::token_phrase(
        token.kind,
        text_.substr(static_cast<size_t>(token.offset), static_cast<size_t>(token.length)),
        token.length == 0);
}

}  // namespace checker_detail

std::vector<Finding> check_program(std::string_view editor_text,
                                   std::span<const TextPoint> foreign) {
    return checker_detail::Checker(editor_text, foreign, SIZE_MAX).run().findings;
}

BoundedFindings check_program_bounded(std::string_view editor_text, size_t limit,
                                      std::span<const TextPoint> foreign) {
    return checker_detail::Checker(editor_text, foreign, limit).run();
}

std::string finding_text(const Finding& finding) {
    return std::to_string(finding.line) + ":" + std::to_string(finding.column) + ": " +
           finding.message;
}
