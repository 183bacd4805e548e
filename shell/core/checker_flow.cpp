// Labels, loops and where a run can go: the labels a run's search finds, FOR and NEXT in the
// order of the text, and a graph of the statements reached from the start without entering
// GOSUB's subroutines, with them, and from the subroutines.
#include "checker_detail.h"
#include "interp.h"

namespace checker_detail {

namespace {

std::vector<bool> reach(const std::vector<int>& from, const std::vector<std::vector<int>>& edges,
                        const std::vector<std::vector<int>>* calls) {
    std::vector<bool> seen(edges.size(), false);
    std::vector<int> work;
    const auto visit = [&](int k) {
        if (k >= 0 && !seen[static_cast<size_t>(k)]) {
            seen[static_cast<size_t>(k)] = true;
            work.push_back(k);
        }
    };
    for (int k : from) visit(k);
    while (!work.empty()) {
        const auto k = static_cast<size_t>(work.back());
        work.pop_back();
        for (int n : edges[k]) visit(n);
        if (calls != nullptr) {
            for (int n : (*calls)[k]) visit(n);
        }
    }
    return seen;
}

}  // namespace

int Checker::label_of(int32_t number) const {
    const auto at = label_index_.find(number);
    return at == label_index_.end() ? -1 : at->second;
}

void Checker::check_labels() {
    std::vector<size_t> first_at;  // the first LABEL token of each label
    for (size_t k = 0; k + 1 < tokens_.size(); ++k) {
        // A run finds a label wherever a LABEL token and a number follow each other.
        if (tokens_[k].kind != TK_LABEL || tokens_[k + 1].kind != TK_NUMBER) continue;
        const int32_t number = label_number(k + 1);
        const auto [at, fresh] =
            label_index_.emplace(number, static_cast<int>(label_places_.size()));
        if (fresh) {
            label_places_.emplace_back();
            first_at.push_back(k);
        } else {
            const size_t first = first_at[static_cast<size_t>(at->second)];
            findings_.push_back(finding_over(k, k + 1, Severity::Warning,
                                             msg::duplicate_label(number, tokens_[first].line)));
        }
        label_places_[static_cast<size_t>(at->second)].push_back(token_top_[k]);
    }
    for (const Statement& s : statements_) {
        if ((s.kind != TK_GOTO && s.kind != TK_GOSUB) || s.label_token < 0) continue;
        const auto at = static_cast<size_t>(s.label_token);
        const bool defined = label_of(s.label) >= 0;
        if (s.kind == TK_GOTO && tokens_[at].kind != TK_NUMBER) {
            const std::string v = tokens_[at].kind == TK_VARIABLE
                                      ? text_of(s.label_token, s.label_token + 1)
                                      : std::string();
            findings_.push_back(finding_at(at, defined ? Severity::Warning : Severity::Error,
                                           msg::goto_without_digits(v, s.label, defined)));
            continue;
        }
        if (tokens_[at].kind != TK_NUMBER || defined) continue;
        findings_.push_back(finding_at(at, Severity::Error, msg::no_such_label(s.kind, s.label)));
    }
}

// FOR and NEXT in the order of the text: each NEXT closes the innermost loop, and every
// loop needs a NEXT.
void Checker::check_loops() {
    struct Open {
        int variable;
        size_t statement;
        bool has_next;  // a NEXT in a branch of an IF closes it
    };
    std::vector<Open> open;
    std::vector<size_t> open_of[VARIABLE_COUNT];   // where each variable's loops are in `open`
    std::vector<std::pair<size_t, size_t>> loops;  // FOR and the NEXT that closes it
    for (size_t k = 0; k < statements_.size(); ++k) {
        const Statement& s = statements_[k];
        // What never runs opens and closes nothing.
        if ((s.kind != TK_FOR && s.kind != TK_NEXT) || !reached_[static_cast<size_t>(s.top)]) {
            continue;
        }
        if (s.variable < 0) {
            // NEXT without its letter: its own finding says so; it stands for the innermost
            // loop's NEXT, which is not missing.
            if (s.kind == TK_NEXT && !open.empty()) {
                open.back().has_next = true;
                if (!s.conditional) {
                    open_of[open.back().variable].pop_back();
                    open.pop_back();
                }
            }
            continue;
        }
        // A FOR a run stops in still names its loop: its NEXT is not without a FOR.
        if (s.kind == TK_NEXT && s.ending == Ending::Broken) continue;
        std::vector<size_t>& places = open_of[s.variable];
        if (s.kind == TK_FOR) {
            places.push_back(open.size());
            // A run stops in a broken FOR: its missing NEXT is no fault of its own.
            open.push_back({s.variable, k, s.ending == Ending::Broken});
            continue;
        }
        const char v = static_cast<char>('A' + s.variable);
        const auto first = static_cast<size_t>(s.first);
        if (places.empty()) {
            findings_.push_back(
                finding_over(first, first + 1, Severity::Error, msg::next_without_for(v)));
            continue;
        }
        const size_t at = places.back();
        if (at + 1 != open.size()) {
            const Open& inner = open.back();
            const Statement& f = statements_[inner.statement];
            findings_.push_back(
                finding_over(first, first + 1, Severity::Error,
                             msg::next_across_loop(v, static_cast<char>('A' + inner.variable),
                                                   tokens_[static_cast<size_t>(f.first)].line)));
            // A run stops here; the loops stay as they were, so an inner loop's own NEXT
            // further down is no second fault, nor is its missing one.
            for (size_t o = at; o < open.size(); ++o) open[o].has_next = true;
            continue;
        }
        loops.emplace_back(open[at].statement, k);
        // A NEXT in a branch of an IF may be one of several for the same loop.
        if (s.conditional) {
            open[at].has_next = true;
            continue;
        }
        while (open.size() > at) {
            open_of[open.back().variable].pop_back();
            open.pop_back();
        }
    }
    // A loop no NEXT closes lasts to the end of the program.
    for (const Open& o : open) loops.emplace_back(o.statement, statements_.size());
    const std::vector<bool> jumped = check_jumps_out_of_loops(loops);
    for (size_t k = 0; k < open.size(); ++k) {
        const Open& o = open[k];
        // A jump out of the loop is the fault, not a missing NEXT.
        if (o.has_next || jumped[loops.size() - open.size() + k]) continue;
        const Statement& f = statements_[o.statement];
        const auto first = static_cast<size_t>(f.first);
        findings_.push_back(
            finding_over(first, first + 1, Severity::Warning,
                         msg::for_without_next(static_cast<char>('A' + o.variable))));
    }
}

// A GOTO between a FOR and its NEXT that jumps to a line at or above the FOR: the loop is
// never closed, and each pass opens one more.
std::vector<bool> Checker::check_jumps_out_of_loops(
    const std::vector<std::pair<size_t, size_t>>& loops) {
    std::vector<bool> jumped(loops.size(), false);
    for (const Statement& g : statements_) {
        if (g.kind != TK_GOTO || !reached_[static_cast<size_t>(g.top)]) continue;
        const int label = label_of(g.label);
        if (label < 0) continue;
        const int target = label_places_[static_cast<size_t>(label)].front();
        if (target >= g.top) continue;  // a jump forward leaves no loop open behind it
        for (size_t l = 0; l < loops.size(); ++l) {
            const Statement& loop = statements_[loops[l].first];
            const int end = loops[l].second < statements_.size() ? statements_[loops[l].second].top
                                                                 : static_cast<int>(top_.size());
            if (g.top > loop.top && g.top < end && target <= loop.top) {
                jumped[l] = true;
                findings_.push_back(finding_at(
                    static_cast<size_t>(g.first), Severity::Warning,
                    msg::jump_out_of_loop(g.label, static_cast<char>('A' + loop.variable),
                                          tokens_[static_cast<size_t>(loop.first)].line)));
                break;
            }
        }
    }
    return jumped;
}

// A GOSUB whose subroutine reaches no RETURN, as far as its lines go without a GOSUB.
void Checker::check_subroutines() {
    const size_t n = top_.size();
    std::vector<bool> returns(n, false);
    for (const Statement& s : statements_) {
        if (s.kind == TK_RETURN) returns[static_cast<size_t>(s.top)] = true;
    }
    std::vector<int> verdict(label_places_.size(), -1);  // -1 unknown, 0 no RETURN, 1 one
    for (const Statement& s : statements_) {
        if (s.kind != TK_GOSUB || s.ending == Ending::Broken ||
            !reached_[static_cast<size_t>(s.top)]) {
            continue;
        }
        const int label = label_of(s.label);
        if (label < 0) continue;
        int& v = verdict[static_cast<size_t>(label)];
        if (v < 0) {
            const std::vector<bool> seen = reach({label_node(label)}, to_, nullptr);
            v = 0;
            for (size_t k = 0; k < n && v == 0; ++k) v = seen[k] && returns[k] ? 1 : 0;
        }
        if (v == 0) {
            findings_.push_back(finding_at(static_cast<size_t>(s.first), Severity::Warning,
                                           msg::gosub_without_return(s.label)));
        }
    }
}

// Where a run can go from statement `k` when the top-level statement after it is `next`
// (-1 at the end of the program): `to` for the statements that follow, `calls` for the
// subroutines GOSUB enters.
void Checker::flow(int k, int next, std::vector<int>& to, std::vector<int>& calls) const {
    const Statement& s = statements_[static_cast<size_t>(k)];
    const auto go_on = [&] {
        if (next >= 0) to.push_back(next);
    };
    switch (s.kind) {
        case TK_GOTO: {
            const int label = label_of(s.label);
            // A jump to no label stops the run; what follows is not reported for it again.
            if (label < 0) {
                go_on();
            } else {
                to.push_back(label_node(label));
            }
            return;
        }
        case TK_GOSUB: {
            go_on();
            const int label = label_of(s.label);
            if (s.ending != Ending::Broken && label >= 0) calls.push_back(label_node(label));
            return;
        }
        case TK_RETURN:
        case TK_END:
            return;
        case TK_IF:
            if (s.then_part < 0) {
                go_on();
                return;
            }
            flow(s.then_part, next, to, calls);
            if (s.else_part >= 0) {
                flow(s.else_part, next, to, calls);
            } else {
                go_on();
            }
            return;
        default:
            go_on();
            return;
    }
}

// The graph of where a run can go, and the statements some run gets to.
void Checker::build_flow() {
    const size_t n = top_.size();
    to_.assign(n + label_places_.size(), {});
    calls_.assign(to_.size(), {});
    for (size_t k = 0; k < n; ++k) {
        flow(top_[k], k + 1 < n ? static_cast<int>(k + 1) : -1, to_[k], calls_[k]);
    }
    for (size_t label = 0; label < label_places_.size(); ++label) {
        to_[n + label] = label_places_[label];
    }
    reached_ = n == 0 ? std::vector<bool>{} : reach({0}, to_, &calls_);
}

void Checker::check_flow() {
    const size_t n = top_.size();
    if (n == 0) return;
    const std::vector<std::vector<int>>& to = to_;
    const std::vector<std::vector<int>>& calls = calls_;
    // Without GOSUB's subroutines, with them, and what the subroutines reach.
    const std::vector<bool> main = reach({0}, to, nullptr);
    const std::vector<bool>& any = reached_;
    std::vector<int> entries;
    std::vector<bool> entered(label_places_.size(), false);
    for (size_t k = 0; k < n; ++k) {
        if (!any[k]) continue;
        for (int e : calls[k]) {
            entries.push_back(e);
            entered[static_cast<size_t>(e) - n] = true;
        }
    }
    const std::vector<bool> called = reach(entries, to, &calls);
    // For each top-level statement, the nearest statement at or above it that is a LABEL a
    // GOSUB enters: where a subroutine starts. -1 for none.
    std::vector<int> entered_above(n, -1);
    for (size_t k = 0; k < n; ++k) {
        const Statement& s = statements_[static_cast<size_t>(top_[k])];
        const int label = s.kind == TK_LABEL && s.ending != Ending::Broken ? label_of(s.label) : -1;
        entered_above[k] = label >= 0 && entered[static_cast<size_t>(label)]
                               ? static_cast<int>(k)
                               : (k > 0 ? entered_above[k - 1] : -1);
    }

    for (const Statement& s : statements_) {
        if (s.kind != TK_RETURN) continue;
        const auto k = static_cast<size_t>(s.top);
        if (!main[k]) continue;
        Text text;
        if (!called[k]) {
            text = msg::return_without_gosub();
        } else {
            const int start = entered_above[k];
            text = msg::return_from_above(
                start < 0
                    ? std::string("before the LABEL where the subroutine starts")
                    : "before LABEL " +
                          std::to_string(
                              statements_[static_cast<size_t>(top_[static_cast<size_t>(start)])]
                                  .label) +
                          ", where the subroutine starts");
        }
        findings_.push_back(
            finding_at(static_cast<size_t>(s.first), Severity::Error, std::move(text)));
    }

    for (size_t k = 1; k < n;) {
        if (any[k]) {
            ++k;
            continue;
        }
        size_t end = k;
        bool code = false;
        while (end < n && !any[end]) {
            code = code || statements_[static_cast<size_t>(top_[end])].kind != TK_LABEL;
            ++end;
        }
        if (code) never_runs(k);
        k = end;
    }
}

// The top-level statements from `k` on never run.
void Checker::never_runs(size_t k) {
    const Statement& before = statements_[static_cast<size_t>(top_[k - 1])];
    const Statement& s = statements_[static_cast<size_t>(top_[k])];
    const auto first = static_cast<size_t>(s.first);
    size_t last = first;
    while (tokens_[last + 1].kind != TK_CR && tokens_[last + 1].kind != TK_ENDOFINPUT) ++last;
    findings_.push_back(finding_over(first, last, Severity::Warning,
                                     msg::never_runs(before.kind, s.kind == TK_LABEL, s.label)));
}

}  // namespace checker_detail
