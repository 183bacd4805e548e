// The checker's texts: what each finding says and the help page that explains it. The parts of
// the checker find the places; these functions word them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tokens.h"

namespace checker_detail {

// A finding's message and the page of the language reference that explains it.
struct Text {
    std::string message;
    std::string page;
};

const char* keyword_of(TokenKind t);
std::string quoted(std::string_view text);
// Program text quoted in a message, shortened when long.
inline constexpr size_t MAX_QUOTED_CHARS = 40;
std::string excerpt(std::string text);
// An operand to write into a suggestion, or `fallback` when there is none or it is long.
std::string operand_or(const std::string& text, const char* fallback);

namespace msg {

// ---- Lines and characters
Text too_large(size_t bytes);
Text comment_in_data(size_t bytes);
Text unfit_character();
Text unclosed_text();
Text long_number(int length);
Text lower_case(const std::string& word);
Text tab();
Text foreign_character(char c);
Text comment_after_code();
Text number_read_twice(const std::string& written, const std::string& rest,
                       const std::string& plain);
Text comparison(const std::string& op, const std::string& left, const std::string& right);
Text rem_comment(const std::string& word);
Text comment_never_read();
// A finding on a token no run reads, but a search for a label passes.
Text label_search_stops(const std::string& message);
Text print_read_twice(const std::string& written, const std::string& plain,
                      const std::string& rest);

// ---- Statements
// How a token and what a statement wants there read in a message.
std::string token_phrase(TokenKind kind, const std::string& text, bool line_end);
std::string expected_phrase(TokenKind t);
Text comparison_in_brackets();
Text exp_is_not_e();
Text minus_after_sign();
// `name` needs `expected` here, not `got`; `joined` adds the hint about two statements.
std::string needs(const std::string& name, TokenKind expected, const std::string& got, bool joined);
Text no_let(const std::string& rest);
Text data_with_more();
Text long_name(const std::string& name);
Text print_minus(const std::string& operand);
Text print_cannot(const std::string& got);
Text nothing_after_then(const std::string& condition);
Text nothing_between_then_and_else();
Text condition_without_comparison(const std::string& condition);
Text comparison_chain();
Text print_takes_else(const std::string& condition);
std::string else_met();
Text colon_after_branch(const std::string& branch);
// What a run says of a statement that starts with this token: "Unknown command".
Text line_number(const std::string& number);
Text number_starts();
Text nothing_after_else();
Text colon_at_line_end();
Text empty_statement();
Text misplaced_else(bool line_start);
Text call();
Text text_alone(const std::string& text);
Text cannot_start(const std::string& word, bool glued_word);
// The statement's whole form as a program writes it: "MGET X,Y,Z", "POW X,Y,A".
std::string form_of(TokenKind statement);
Text end_if();
// A word of other languages this one writes otherwise, or nullptr.
const Text* foreign_word(std::string_view word);
// The keyword that starts a statement nearest to `word` (at most 1 or 2 edits), or nullptr.
const char* near_keyword(std::string_view word);
Text did_you_mean(const std::string& word, const char* keyword);
Text function_call(TokenKind statement, const std::string& argument, char variable);

// ---- Values a run meets as they are written
Text division_by_zero(const std::string& divisor, bool mod);
Text for_counts_down(char v, const std::string& from, const std::string& to);
Text coil_range(const std::string& value, const std::string& clamped);
Text speed_range(const std::string& value, const std::string& clamped);
Text tx_channel(const std::string& value);
Text tx_symbol(const std::string& value, const std::string& clamped);
Text delay_fraction(const std::string& value, long long ms);

// ---- Labels, loops, flow
Text duplicate_label(int32_t number, int first_line);
Text goto_without_digits(const std::string& variable, int32_t number, bool defined);
Text no_such_label(TokenKind jump, int32_t number);
Text next_without_for(char v);
Text next_across_loop(char v, char inner, int inner_line);
Text for_without_next(char v);
Text return_without_gosub();
Text return_from_above(const std::string& where);
Text never_runs(TokenKind before, bool label, int32_t label_number);
Text jump_out_of_loop(int32_t label, char v, int for_line);
Text gosub_without_return(int32_t label);

}  // namespace msg
}  // namespace checker_detail
