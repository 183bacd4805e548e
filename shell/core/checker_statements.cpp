// The statements of a program, read by their forms in grammar.h as the executors read them:
// the first place each would stop a run, and how each ends (its ":", a jump, or, after THEN,
// the ELSE).
#include "checker_detail.h"
#include "eval.h"
#include "explain.h"
#include "format.h"
#include "radio.h"
#include "tokenizer.h"

namespace checker_detail {

void Checker::note(size_t t, Severity severity, Text text) {
    pending_.push_back(finding_at(t, severity, std::move(text)));
}

std::string Checker::reading_name() const {
    if (reading_ == TK_VARIABLE) return "An assignment";
    if (const char* k = keyword_of(reading_)) return k;
    return "The statement";
}

std::string Checker::reading_page() const {
    if (reading_ == TK_VARIABLE) return "let.html";
    if (const char* k = keyword_of(reading_)) return help_page_for_word(k);
    return "errors.html";
}

// The check of a run that wants `expected` here fails.
void Checker::mismatch(TokenKind expected) {
    const TokenKind got = cur();
    if (expected == TK_RIGHTPAREN && is_comparison(got)) {
        note(i_, Severity::Error, msg::comparison_in_brackets());
        return;
    }
    if (reading_ == TK_EXP && expected == TK_COMMA) {
        note(i_, Severity::Error, msg::exp_is_not_e());
        return;
    }
    if (expected == TK_VARIABLE && got == TK_MINUS) {
        note(i_, Severity::Error, msg::minus_after_sign());
        return;
    }
    if (got == TK_VARIABLE) {
        // The word this letter is part of: ABS in A=ABS(B) fails at its B.
        size_t w = i_;
        while (w > reading_first_ && tokens_[w - 1].kind == TK_VARIABLE && adjacent(w - 1, w)) --w;
        if (word_hint(w)) return;
    }
    if (expected == TK_VARIABLE && function_call()) return;
    // A statement where the end should be: the hint about the ":" (not for RETURN and END,
    // which read as a word out of place, nor for a word of several letters).
    const bool word = got == TK_VARIABLE && word_at(i_).size() > 1;
    const bool joined = expected == TK_CR && statement_form(got) != nullptr && got != TK_RETURN &&
                        got != TK_END && !word;
    std::string message = msg::needs(reading_name(), expected, token_phrase(i_), joined);
    const StatementForm* form = statement_form(reading_);
    if (reading_ != TK_VARIABLE && reading_ != TK_PRINT && form != nullptr &&
        form->pieces[0] != Piece::None) {
        message += " The form is " + msg::form_of(reading_) + ".";
    }
    note(i_, Severity::Error, {std::move(message), reading_page()});
}

bool Checker::expect(TokenKind expected) {
    if (cur() == expected) {
        ++i_;
        return true;
    }
    mismatch(expected);
    return false;
}

// factor: number | "(" expression ")" | variable
bool Checker::factor() {
    if (cur() == TK_NUMBER) {
        ++i_;
        return true;
    }
    if (cur() == TK_LEFTPAREN) {
        if (depth_ == MAX_NESTING) return false;
        ++i_;
        ++depth_;
        const bool ok = expression() && expect(TK_RIGHTPAREN);
        --depth_;
        return ok;
    }
    return expect(TK_VARIABLE);
}

bool Checker::term() {
    if (!factor()) return false;
    while (cur() == TK_ASTR || cur() == TK_SLASH || cur() == TK_MOD) {
        ++i_;
        if (tokens_[i_ - 1].kind != TK_ASTR) divisor_check(i_);
        if (!factor()) return false;
    }
    return true;
}

// ["-"] term { ("+" | "-" | "&" | "|" | a number, which is added) term }
bool Checker::expression() {
    if (cur() == TK_MINUS) ++i_;
    if (!term()) return false;
    for (;;) {
        const TokenKind op = cur();
        if (op == TK_PLUS || op == TK_MINUS || op == TK_AND || op == TK_OR) {
            ++i_;
        } else if (op != TK_NUMBER) {
            return true;
        }
        if (!term()) return false;
    }
}

bool Checker::relation(int& comparisons) {
    if (!expression()) return false;
    while (is_comparison(cur())) {
        ++i_;
        if (!expression()) return false;
        ++comparisons;
    }
    return true;
}

// { text | expression | "," | ";" }: the list ends at a token no item starts with, or at the
// end of the statement.
bool Checker::print_items() {
    for (;;) {
        const TokenKind t = cur();
        if (t == TK_STRING || t == TK_COMMA || t == TK_SEMICOLON) {
            ++i_;
        } else if (t == TK_VARIABLE || t == TK_NUMBER || t == TK_LEFTPAREN) {
            const size_t from = i_;
            const bool ok = expression();
            for (size_t k = from; k < i_; ++k) tokens_[k].in_print = true;
            if (!ok) return false;
        } else {
            return true;
        }
        if (cur() == TK_CR || cur() == TK_ENDOFINPUT) return true;
    }
}

// The end check of a statement that reads its ":".
void Checker::end_of(Statement& s, Context context) {
    if (cur() == TK_CR) {
        ++i_;
        s.ending = Ending::Next;
    } else if (cur() == TK_ELSE && context == Context::Then) {
        s.ending = Ending::ElseMet;
    } else {
        mismatch(TK_CR);
        s.ending = Ending::Broken;
    }
}

// PRINT's end: whatever token ends its list is taken for its ":".
void Checker::print_end(Statement& s, Context context) {
    const TokenKind t = cur();
    if (t == TK_CR || t == TK_ENDOFINPUT) {
        if (t == TK_CR) ++i_;
        s.ending = Ending::Next;
        return;
    }
    if (t == TK_ELSE && context == Context::Then) {
        ++i_;
        s.ending = Ending::ElseRuns;
        return;
    }
    s.ending = Ending::Broken;
    if (t == TK_MINUS) {
        note(i_, Severity::Error, msg::print_minus(operand_after(i_ + 1)));
        return;
    }
    note(i_, Severity::Error, msg::print_cannot(token_phrase(i_)));
}

// The statement's parts after its first token, one after the other, then its end.
void Checker::read_form(Statement& s, const StatementForm& form, Context context) {
    ++i_;
    int comparisons = 0;
    for (const Piece piece : form.pieces) {
        bool ok = true;
        switch (piece) {
            case Piece::None:
                break;
            case Piece::Expression:
                ok = expression();
                break;
            case Piece::Variable:
                if (s.variable < 0 && cur() == TK_VARIABLE) {
                    s.variable = text_[static_cast<size_t>(cur_token().offset)] - 'A';
                }
                ok = expect(TK_VARIABLE);
                break;
            case Piece::Number:
                s.label = label_number(i_);
                s.label_token = static_cast<int>(i_);
                ok = expect(TK_NUMBER);
                break;
            case Piece::LabelText:
                s.label = label_number(i_);
                s.label_token = static_cast<int>(i_);
                if (cur() == TK_NUMBER) ++i_;
                break;
            case Piece::Comma:
                ok = expect(TK_COMMA);
                break;
            case Piece::Equals:
                ok = expect(TK_EQ);
                break;
            case Piece::To:
                ok = expect(TK_TO);
                break;
            case Piece::Then:
                ok = expect(TK_THEN);
                break;
            case Piece::Relation:
                ok = relation(comparisons);
                break;
            case Piece::Items:
                ok = print_items();
                break;
            case Piece::Branch:
                branches(s, context, comparisons);
                break;
        }
        if (!ok) {
            s.ending = Ending::Broken;
            return;
        }
        if (piece == Piece::None) break;
    }
    switch (form.closing) {
        case Closing::ReadsEnd:
            end_of(s, context);
            break;
        case Closing::Leaves:
            s.ending = Ending::Leaves;
            break;
        case Closing::AnyToken:
            print_end(s, context);
            break;
        case Closing::Branches:
            break;  // the branch has said how the statement ends
    }
}

// THEN statement [ELSE statement], the IF's condition read: `comparisons` it made.
void Checker::branches(Statement& s, Context context, int comparisons) {
    const auto if_at = static_cast<size_t>(s.first);
    const size_t then_at = i_ - 1;
    const std::string condition =
        operand_or(text_of(static_cast<int>(if_at + 1), static_cast<int>(then_at)), "...");
    if (cur() == TK_CR || cur() == TK_ENDOFINPUT) {
        note(then_at, Severity::Error, msg::nothing_after_then(condition));
        s.ending = Ending::Broken;
        return;
    }
    if (cur() == TK_ELSE) {
        pending_.push_back(
            finding_over(then_at, i_, Severity::Error, msg::nothing_between_then_and_else()));
        s.ending = Ending::Broken;
        return;
    }
    if (comparisons == 0) {
        pending_.push_back(finding_over(if_at + 1, then_at - 1, Severity::Warning,
                                        msg::condition_without_comparison(condition)));
    } else if (comparisons > 1) {
        pending_.push_back(
            finding_over(if_at + 1, then_at - 1, Severity::Warning, msg::comparison_chain()));
    }
    if (depth_ == MAX_NESTING) {
        s.ending = Ending::Broken;
        return;
    }
    s.then_part = statement(Context::Then);
    const Statement then = statements_[static_cast<size_t>(s.then_part)];
    switch (then.ending) {
        case Ending::Broken:
            s.ending = Ending::Broken;
            return;
        case Ending::Next:
            s.ending = Ending::Next;
            if (context == Context::Top) colon_after_branch(then);
            return;
        case Ending::Leaves:
            // Taken, the branch leaves; skipped, the run goes on at the first ELSE or ":".
            while (cur() != TK_ELSE && cur() != TK_CR && cur() != TK_ENDOFINPUT &&
                   cur() != TK_ERROR) {
                ++i_;
            }
            if (cur() != TK_ELSE) {
                if (cur() == TK_CR) ++i_;
                s.ending = cur() == TK_ERROR ? Ending::Broken : Ending::Next;
                return;
            }
            ++i_;
            break;
        case Ending::ElseRuns:
            note(i_ - 1, Severity::Warning, msg::print_takes_else(condition));
            break;
        case Ending::ElseMet:
            note(i_, Severity::Error,
                 {else_met_message(then, condition), "traps.html#if-then-else"});
            ++i_;
            break;
    }
    s.else_part = statement(Context::Else);
    const Ending last = statements_[static_cast<size_t>(s.else_part)].ending;
    s.ending = last == Ending::Next     ? Ending::Next
               : last == Ending::Leaves ? Ending::Leaves
                                        : Ending::Broken;
}

// A number written after "/" or MOD that a run cannot divide by.
void Checker::divisor_check(size_t at) {
    if (tokens_[at].kind != TK_NUMBER) return;
    const double v = parse_number(text_.c_str() + tokens_[at].offset);
    const bool mod = tokens_[at - 1].kind == TK_MOD;
    if (mod ? to_int(v) == 0 : v == 0) {
        pending_.push_back(finding_over(
            at - 1, at, Severity::Error,
            msg::division_by_zero(text_of(static_cast<int>(at), static_cast<int>(at) + 1),
                                  mod && v != 0)));
    }
}

// The letters from token `t` on as they stand in the text: "INPUT" for I, N, P, U, T.
std::string Checker::word_at(size_t t) const {
    const auto from = static_cast<size_t>(tokens_[t].offset);
    size_t to = from;
    while (to < text_.size() && text_[to] >= 'A' && text_[to] <= 'Z') ++to;
    return text_.substr(from, to - from);
}

// A word of other languages, or a misspelt keyword starting a statement, at token `t`: notes
// what to write instead over the whole word, and says whether it did.
bool Checker::word_hint(size_t t) {
    const std::string word = word_at(t);
    if (word.size() < 2) return false;
    size_t last = t;
    const int end = tokens_[t].offset + static_cast<int>(word.size());
    while (tokens_[last + 1].offset < end && tokens_[last + 1].length > 0) ++last;
    // A keyword is only guessed where a statement starts or a function would be called.
    const bool guess = t == reading_first_ || tokens_[last + 1].kind == TK_LEFTPAREN;
    Text text;
    if (const Text* foreign = msg::foreign_word(word)) {
        text = *foreign;
    } else if (const char* keyword = guess ? msg::near_keyword(word) : nullptr) {
        text = msg::did_you_mean(word, keyword);
    } else {
        return false;
    }
    pending_.push_back(finding_over(t, last, Severity::Error, std::move(text)));
    return true;
}

// A math statement written as a function inside a calculation: A=SQRT(16).
bool Checker::function_call() {
    const TokenKind t = cur();
    const StatementForm* form = statement_form(t);
    if (form == nullptr || t < TK_ACOS || t > TK_HTAN) return false;
    if (tokens_[i_ + 1].kind != TK_LEFTPAREN) return false;
    std::string argument;
    {
        size_t close = i_ + 2;
        int depth = 1;
        for (; tokens_[close].kind != TK_CR && tokens_[close].kind != TK_ENDOFINPUT; ++close) {
            if (tokens_[close].kind == TK_LEFTPAREN) ++depth;
            if (tokens_[close].kind == TK_RIGHTPAREN && --depth == 0) break;
        }
        if (depth == 0) argument = text_of(static_cast<int>(i_ + 2), static_cast<int>(close));
    }
    const char variable =
        reading_ == TK_VARIABLE ? text_[static_cast<size_t>(tokens_[reading_first_].offset)] : 'A';
    note(i_, Severity::Error, msg::function_call(t, argument, variable));
    return true;
}

// A value written as a number: "5" or "-5".
bool Checker::constant_at(size_t from, size_t to, double& value) const {
    if (to == from + 2 && tokens_[from].kind == TK_MINUS && tokens_[from + 1].kind == TK_NUMBER) {
        value = -parse_number(text_.c_str() + tokens_[from + 1].offset);
        return true;
    }
    if (to != from + 1 || tokens_[from].kind != TK_NUMBER) return false;
    value = parse_number(text_.c_str() + tokens_[from].offset);
    return true;
}

// A statement's numbers as written, where a run does something else with them than the text
// seems to say: a loop that counts down, a coil, a speed or a channel out of range, a fraction
// of a millisecond.
void Checker::constant_checks(const Statement& s) {
    if (s.kind != TK_FOR && s.kind != TK_COIL && s.kind != TK_SPEED && s.kind != TK_TX &&
        s.kind != TK_DELAY) {
        return;
    }
    // The statement's values: the token ranges between its commas (FOR: after "=", and TO).
    std::vector<std::pair<size_t, size_t>> parts;
    const auto first = static_cast<size_t>(s.first);
    size_t end = first + 1;
    while (tokens_[end].kind != TK_CR && tokens_[end].kind != TK_ENDOFINPUT &&
           tokens_[end].kind != TK_ELSE) {
        ++end;
    }
    size_t start = s.kind == TK_FOR ? first + 3 : first + 1;
    int depth = 0;
    for (size_t k = start; k <= end; ++k) {
        const TokenKind t = tokens_[k].kind;
        if (t == TK_LEFTPAREN) ++depth;
        if (t == TK_RIGHTPAREN) --depth;
        if (k == end || (depth == 0 && (t == TK_COMMA || t == TK_TO))) {
            parts.emplace_back(start, k);
            start = k + 1;
        }
    }
    std::vector<double> values(parts.size());
    std::vector<bool> known(parts.size());
    for (size_t p = 0; p < parts.size(); ++p) {
        double v = 0;
        known[p] =
            parts[p].second > parts[p].first && constant_at(parts[p].first, parts[p].second, v);
        values[p] = v;
    }
    const auto written = [&](size_t p) {
        return text_of(static_cast<int>(parts[p].first), static_cast<int>(parts[p].second));
    };
    const auto warn = [&](size_t p, Text text) {
        pending_.push_back(
            finding_over(parts[p].first, parts[p].second - 1, Severity::Warning, std::move(text)));
    };
    switch (s.kind) {
        case TK_FOR:
            if (parts.size() == 2 && known[0] && known[1] && values[0] > values[1] &&
                s.variable >= 0) {
                pending_.push_back(
                    finding_over(first, parts[1].second - 1, Severity::Warning,
                                 msg::for_counts_down(static_cast<char>('A' + s.variable),
                                                      written(0), written(1))));
            }
            break;
        case TK_COIL:
            for (size_t p = 0; p < parts.size(); ++p) {
                if (known[p] && (values[p] < -1 || values[p] > 1)) {
                    warn(p, msg::coil_range(written(p), values[p] < -1 ? "-1" : "1"));
                }
            }
            break;
        case TK_SPEED:
            if (parts.size() == 1 && known[0] && (values[0] <= -1 || values[0] >= 5)) {
                warn(0, msg::speed_range(written(0), values[0] < 0 ? "0" : "4"));
            }
            break;
        case TK_TX:
            if (parts.size() == 2 && known[0] && (values[0] <= -1 || values[0] >= TX_CHANNELS)) {
                warn(0, msg::tx_channel(written(0)));
            }
            if (parts.size() == 2 && known[1] &&
                (values[1] <= -1 || values[1] >= TX_MAX_SYMBOL + 1)) {
                warn(1, msg::tx_symbol(written(1),
                                       values[1] < 0 ? "0" : std::to_string(TX_MAX_SYMBOL)));
            }
            break;
        case TK_DELAY:
            if (parts.size() == 1 && known[0] &&
                values[0] != static_cast<double>(to_int(values[0]))) {
                warn(0, msg::delay_fraction(written(0), to_int(values[0])));
            }
            break;
        default:
            break;
    }
}

bool Checker::letter_at(size_t t, char letter) const {
    return tokens_[t].kind == TK_VARIABLE &&
           text_[static_cast<size_t>(tokens_[t].offset)] == letter;
}

// An assignment whose variable is followed by more letters rather than "=": LET A=1, DATA 1,2
// or a name of several letters. Notes the finding and says whether it was one of them.
bool Checker::misnamed_assignment() {
    const size_t first = i_;
    if (letter_at(first, 'L') && letter_at(first + 1, 'E') && letter_at(first + 2, 'T') &&
        adjacent(first, first + 1) && adjacent(first + 1, first + 2)) {
        size_t end = first + 3;
        while (tokens_[end].kind != TK_CR && tokens_[end].kind != TK_ENDOFINPUT) ++end;
        const std::string rest = text_of(static_cast<int>(first + 3), static_cast<int>(end));
        pending_.push_back(finding_over(first, first + 2, Severity::Error, msg::no_let(rest)));
        return true;
    }
    if (word_hint(first)) return true;
    if (tokens_[first + 1].kind != TK_VARIABLE || !adjacent(first, first + 1)) return false;
    size_t end = first + 1;
    while (tokens_[end + 1].kind == TK_VARIABLE && adjacent(end, end + 1)) ++end;
    const std::string name = text_of(static_cast<int>(first), static_cast<int>(end + 1));
    pending_.push_back(finding_over(first, end, Severity::Error,
                                    name == "DATA" ? msg::data_with_more() : msg::long_name(name)));
    return true;
}

// The text of a branch's statement, up to its ELSE or ":" (shortened when long).
std::string Checker::statement_text(const Statement& s) const {
    size_t end = static_cast<size_t>(s.first);
    while (tokens_[end].kind != TK_ELSE && tokens_[end].kind != TK_CR &&
           tokens_[end].kind != TK_ENDOFINPUT) {
        ++end;
    }
    return excerpt(text_of(s.first, static_cast<int>(end)));
}

std::string Checker::else_met_message(const Statement& then, const std::string& condition) const {
    const std::string message = msg::else_met();
    // The ELSE part is not read yet: it starts behind the ELSE the parser stands on.
    const size_t else_first = i_ + 1;
    if (then.kind == TK_VARIABLE && tokens_[else_first].kind == TK_VARIABLE &&
        text_[static_cast<size_t>(tokens_[else_first].offset)] ==
            text_[static_cast<size_t>(tokens_[static_cast<size_t>(then.first)].offset)]) {
        Statement else_part;
        else_part.first = static_cast<int>(else_first);
        return message + " Set the other value first, on a line of its own, then change it: " +
               statement_text(else_part) + ", then IF " + condition + " THEN " +
               statement_text(then) + ".";
    }
    return message + " Jump instead: IF " + condition +
           " THEN GOTO ... ELSE ..., or give each part an IF of its own.";
}

// IF ... THEN statement : more  -- the rest of the line runs whether the condition holds or
// not.
void Checker::colon_after_branch(const Statement& then) {
    const Token& colon = tokens_[i_ - 1];
    if (colon.length == 0 || cur() == TK_CR || cur() == TK_ENDOFINPUT ||
        cur_token().line != colon.line) {
        return;
    }
    size_t end = i_;
    while (tokens_[end + 1].kind != TK_CR && tokens_[end + 1].kind != TK_ENDOFINPUT) ++end;
    pending_.push_back(
        finding_over(i_, end, Severity::Warning, msg::colon_after_branch(statement_text(then))));
}

// A token that starts no statement: a run stops at it with "Unknown command".
void Checker::unknown(Statement& s, Context context) {
    s.ending = Ending::Broken;
    const Token& t = cur_token();
    const bool line_start =
        i_ == 0 || tokens_[i_ - 1].line != t.line || tokens_[i_ - 1].length == 0;
    Text text;
    switch (t.kind) {
        case TK_NUMBER:
            text = line_start && context == Context::Top
                       ? msg::line_number(text_of(static_cast<int>(i_), static_cast<int>(i_ + 1)))
                       : msg::number_starts();
            break;
        case TK_CR:
            text = context == Context::Else ? msg::nothing_after_else()
                   : t.length == 0          ? msg::colon_at_line_end()
                                            : msg::empty_statement();
            break;
        case TK_ELSE:
            text = msg::misplaced_else(line_start && context == Context::Top);
            break;
        case TK_CALL:
            text = msg::call();
            break;
        case TK_STRING:
            text = msg::text_alone(text_of(static_cast<int>(i_), static_cast<int>(i_ + 1)));
            break;
        default: {
            const bool glued = keyword_of(t.kind) != nullptr && tokens_[i_ + 1].length > 0 &&
                               adjacent(i_, i_ + 1) &&
                               is_letter(text_[static_cast<size_t>(tokens_[i_ + 1].offset)]);
            text = msg::cannot_start(token_phrase(i_), glued);
            break;
        }
    }
    note(i_, Severity::Error, std::move(text));
}

int Checker::statement(Context context) {
    const size_t index = statements_.size();
    statements_.emplace_back();
    Statement s;
    s.kind = cur();
    s.first = static_cast<int>(i_);
    s.top = static_cast<int>(top_.size());
    s.conditional = context != Context::Top;
    const TokenKind outer = reading_;
    const size_t outer_first = reading_first_;
    reading_ = s.kind;
    reading_first_ = i_;
    ++depth_;
    const StatementForm* form = statement_form(s.kind);
    if (form == nullptr) {
        unknown(s, context);
    } else if (s.kind == TK_VARIABLE && tokens_[i_ + 1].kind != TK_EQ && misnamed_assignment()) {
        s.ending = Ending::Broken;
    } else {
        read_form(s, *form, context);
    }
    --depth_;
    reading_ = outer;
    reading_first_ = outer_first;
    if (s.ending == Ending::Next || s.ending == Ending::ElseMet) constant_checks(s);
    statements_[index] = s;
    return static_cast<int>(index);
}

void Checker::parse() {
    token_top_.assign(tokens_.size(), 0);
    while (cur() != TK_ENDOFINPUT) {
        const size_t first = i_;
        const int s = statement(Context::Top);
        // A statement that did not read its ":" is left there: a run either stops in it or
        // never reads the rest.
        if (i_ == first || tokens_[i_ - 1].kind != TK_CR) {
            const Statement& read = statements_[static_cast<size_t>(s)];
            const bool leaves =
                read.ending == Ending::Leaves &&
                (read.kind == TK_GOTO || read.kind == TK_RETURN || read.kind == TK_END);
            if (leaves && read.kind == TK_END && cur() == TK_IF && !cur_token().flagged) {
                pending_.push_back(finding_over(i_ - 1, i_, Severity::Warning, msg::end_if()));
            }
            while (cur() != TK_CR && cur() != TK_ENDOFINPUT) {
                tokens_[i_].unread = leaves;
                ++i_;
            }
            if (cur() == TK_CR) ++i_;
        }
        bool flagged = false;
        for (size_t k = first; k < i_; ++k) {
            token_top_[k] = static_cast<int>(top_.size());
            flagged = flagged || (tokens_[k].flagged && !tokens_[k].unread);
        }
        if (!flagged) findings_.insert(pending_.begin(), pending_.end());
        pending_.clear();
        top_.push_back(s);
    }
}

}  // namespace checker_detail
