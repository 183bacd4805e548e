#include "labels.h"

#include "control.h"
#include "eval.h"
#include "interp.h"
#include "tokenizer.h"

LabelCache label_cache;
JumpSite jump_cache[JUMP_CACHE_SIZE];

namespace {

inline unsigned bucket_of(int32_t number) {
    return (static_cast<uint32_t>(number) * 2654435761u) >> 22;  // the top 10 bits
}
static_assert(LABEL_BUCKETS == 1 << 10);

// The first entry added for `number`, found by walking the list from its start.
const char* find_by_walk(int32_t number) {
    for (int i = label_cache.first; i >= 0; i = label_cache.pool[i].next) {
        if (label_cache.pool[i].number == number) return label_cache.pool[i].position;
    }
    return nullptr;
}

// The same entry through the index: a bucket's chain is in the order of the list.
inline const char* find_by_index(int32_t number) {
    for (int i = label_cache.bucket[bucket_of(number)]; i != 0;
         i = label_cache.pool[i - 1].same_hash) {
        if (label_cache.pool[i - 1].number == number) return label_cache.pool[i - 1].position;
    }
    return nullptr;
}

}  // namespace

void labels_clear() {
    for (int i = 0; i < label_cache.count; ++i) {
        label_cache.bucket[bucket_of(label_cache.pool[i].number)] = 0;
    }
    label_cache.first = -1;
    label_cache.last = -1;
    label_cache.count = 0;
    for (JumpSite& j : jump_cache) j = JumpSite{};
    if_skips_clear();
    tok_cache_forget();
}

void labels_truncate(int count) {
    if (count < 0) count = 0;
    if (count >= label_cache.count) return;
    // A bucket's chain keeps the order of the list: the first link to a forgotten entry ends it.
    for (int i = count; i < label_cache.count; ++i) {
        int* link = &label_cache.bucket[bucket_of(label_cache.pool[i].number)];
        while (*link != 0 && *link - 1 < count) link = &label_cache.pool[*link - 1].same_hash;
        *link = 0;
    }
    label_cache.count = count;
    label_cache.last = count - 1;
    if (count == 0) {
        label_cache.first = -1;
    } else {
        label_cache.pool[count - 1].next = -1;
    }
    for (JumpSite& j : jump_cache) j = JumpSite{};
}

const char* label_find(int32_t number) {
    return tok_fast_paths ? find_by_index(number) : find_by_walk(number);
}

// The first position recorded for a number stays for the rest of the run.
void label_add(int32_t number, const char* position) {
    if (label_find(number) != nullptr) return;
    if (label_cache.count == MAX_LABELS) return;
    const int index = label_cache.count++;
    label_cache.pool[index] = {number, position, -1, 0};
    // At the end of its bucket's chain, so the chain keeps the order of the list.
    int* link = &label_cache.bucket[bucket_of(number)];
    while (*link != 0) link = &label_cache.pool[*link - 1].same_hash;
    *link = index + 1;
    if (label_cache.last >= 0) {
        label_cache.pool[label_cache.last].next = index;
    } else {
        label_cache.first = index;
    }
    label_cache.last = index;
}

// Scans the whole text from its start, token by token, for LABEL `number`. The scan also ends
// at the end of the text and at an invalid character, which cannot be advanced over; the
// failed checks there report, and the run stops.
void label_search(int32_t number) {
    tok_reset(interp.program_start);
    int32_t found = 0;
    for (;;) {
        while (tok_current() != TK_LABEL && tok_current() != TK_ERROR && !tok_at_end()) {
            tok_advance();
        }
        expect_token(TK_LABEL);
        found = to_int(tok_number());
        expect_token(TK_NUMBER);
        if (found == number || tok_at_end() || tok_current() == TK_ERROR) break;
    }
    tok_advance();  // the ":" of the LABEL statement
    label_add(found, tok_position());
}

void jump_to_label(int32_t number) {
    const char* p = label_find(number);
    if (p != nullptr) {
        tok_jump(p);
    } else {
        label_search(number);
    }
}

// LABEL number end
void stmt_label() {
    expect_token(TK_LABEL);
    const int32_t n = to_int(tok_number());
    expect_token(TK_NUMBER);
    expect_token(TK_CR);
    label_add(n, tok_position());
}

// GOTO number  -- the target is read as a number literal, never evaluated
void stmt_goto() {
    const char* site = tok_position();
    if (tok_fast_paths) {
        if (const char* target = cached_goto(site)) {
            tok_jump(target);
            return;
        }
    }
    expect_token(TK_GOTO);
    const int32_t n = to_int(tok_number());
    const char* p = label_find(n);
    if (p == nullptr) {
        label_search(n);
        return;
    }
    if (tok_fast_paths) jump_site(site) = {site, p, nullptr};
    tok_jump(p);
}

// GOSUB number end
void stmt_gosub() {
    const char* site = tok_position();
    if (tok_fast_paths && interp.gosub_level < MAX_GOSUB_LEVELS) {
        const JumpSite& j = jump_site(site);
        if (j.site == site) {
            interp.gosub_stack[interp.gosub_level++] = j.after;
            tok_jump(j.target);
            return;
        }
    }
    expect_token(TK_GOSUB);
    const int32_t n = to_int(tok_number());
    expect_token(TK_NUMBER);
    if (tok_current() == TK_CR && interp.gosub_level < MAX_GOSUB_LEVELS && tok_fast_paths) {
        // The jump replaces the token behind the ":" at once: only where it begins is needed
        // as the return point, not what it is.
        const char* after = tok_next_position();
        interp.gosub_stack[interp.gosub_level++] = after;
        const char* p = label_find(n);
        if (p == nullptr) {
            label_search(n);
            return;
        }
        jump_site(site) = {site, p, after};
        tok_jump(p);
        return;
    }
    expect_token(TK_CR);
    if (interp.gosub_level >= MAX_GOSUB_LEVELS) {
        report_statement_error(
            {.kind = ReportKind::GosubStackOverflow, .limit = MAX_GOSUB_LEVELS});
        return;
    }
    interp.gosub_stack[interp.gosub_level++] = tok_position();
    jump_to_label(n);
}

// RETURN  -- the ":" behind it is left behind by the jump
void stmt_return() {
    if (tok_current() == TK_RETURN && interp.gosub_level > 0 && tok_fast_paths) {
        // The jump replaces the token after RETURN at once.
        tok_jump(interp.gosub_stack[--interp.gosub_level]);
        return;
    }
    expect_token(TK_RETURN);
    if (interp.gosub_level > 0) {
        tok_jump(interp.gosub_stack[--interp.gosub_level]);
    } else {
        report_error({.kind = ReportKind::ReturnMismatch});
    }
}
