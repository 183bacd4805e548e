// The statement forms: every form has an executor and every executor a form, a help page says
// how to write it, a run takes it written out, and the checker takes it whole and stops at it
// with an argument left out.
#include "grammar.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "checker.h"
#include "explain.h"
#include "test_support.h"

namespace {

std::string keyword(TokenKind token) {
    if (token == TK_VARIABLE) return "A";
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        if (k->token == token) return k->keyword;
    }
    return "?";
}

// The statement as a program writes it, with its first `count` parts.
std::string written(const StatementForm& form, size_t count) {
    std::string text = keyword(form.token) + " ";
    for (size_t k = 0; k < count; ++k) {
        switch (form.pieces[k]) {
            case Piece::None:
                return text;
            case Piece::Expression:
            case Piece::Items:
                text += "1";
                break;
            case Piece::Variable:
                text += "B";
                break;
            case Piece::Number:
            case Piece::LabelText:
                text += "5";
                break;
            case Piece::Comma:
                text += ",";
                break;
            case Piece::Equals:
                text += "=";
                break;
            case Piece::To:
                text += " TO ";
                break;
            case Piece::Then:
                text += " THEN ";
                break;
            case Piece::Relation:
                text += "B=1";
                break;
            case Piece::Branch:
                text += "END";
                break;
        }
    }
    return text;
}

size_t piece_count(const StatementForm& form) {
    size_t n = 0;
    while (n < form.pieces.size() && form.pieces[n] != Piece::None) ++n;
    return n;
}

// A program around the statement, on line 1, where it needs nothing else to be right: a loop
// for NEXT, a subroutine for RETURN, LABEL 5 for the jumps.
std::string program_around(const StatementForm& form, const std::string& statement) {
    switch (form.token) {
        case TK_RETURN:
            return "GOSUB 5\nEND\nLABEL 5\n" + statement;
        case TK_NEXT:
            return "FOR B=1 TO 2\n" + statement + "\nLABEL 5\nEND";
        case TK_FOR:
            return "B=0\n" + statement + "\nNEXT B\nLABEL 5\nEND";
        default:
            return "B=0\n" + statement + "\nLABEL 5\nEND";
    }
}

int statement_line(const StatementForm& form) {
    return form.token == TK_RETURN ? 3 : 1;
}

bool error_on(const std::vector<Finding>& findings, int line) {
    for (const Finding& f : findings) {
        if (f.severity == Severity::Error && f.line == line) return true;
    }
    return false;
}

TEST(Grammar, EveryFormHasAnExecutorAndEveryExecutorAForm) {
    device_register_statements();
    for (int t = 0; t < TOKEN_KIND_COUNT; ++t) {
        EXPECT_EQ(statement_form(t) != nullptr, interp_has_executor(static_cast<TokenKind>(t)))
            << "token " << t;
    }
    // A token that starts no statement cannot be given an executor.
    EXPECT_FALSE(interp_register(TK_THEN, stmt_end));
    EXPECT_FALSE(interp_register(static_cast<TokenKind>(TOKEN_KIND_COUNT), stmt_end));
    EXPECT_FALSE(interp_has_executor(TK_THEN));
}

TEST(Grammar, EveryFormHasItsHelpPage) {
    const std::filesystem::path help =
        std::filesystem::path(ZORVANT_SOURCE_DIR) / "shell/window/help";
    for (const StatementForm& form : grammar) {
        const std::string page =
            form.token == TK_VARIABLE ? "let.html" : help_page_for_word(keyword(form.token));
        EXPECT_TRUE(!page.empty() && std::filesystem::exists(help / page))
            << keyword(form.token) << ": " << page;
    }
}

// Each form written out runs and checks clean; without its last argument the checker reports
// an error on its line.
TEST(Grammar, RunAndCheckerReadEachFormAlike) {
    for (const StatementForm& form : grammar) {
        const size_t n = piece_count(form);
        const std::string whole = program_around(form, written(form, n));
        TestMachine m;
        m.session.step_limit = 1000;
        for (const std::string& line : m.run(whole)) {
            EXPECT_EQ(line.rfind("ERROR", 0), std::string::npos) << whole << "\n" << line;
        }
        EXPECT_FALSE(error_on(check_program(whole), statement_line(form))) << whole;
        // PRINT's list may be empty; a form without arguments has none to leave out.
        if (n == 0 || form.pieces[n - 1] == Piece::Items) continue;
        const std::string cut = program_around(form, written(form, n - 1));
        EXPECT_TRUE(error_on(check_program(cut), statement_line(form))) << cut;
    }
}

}  // namespace
