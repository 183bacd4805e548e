// IF / THEN / ELSE and FOR / TO / NEXT.
#pragma once

// Where the skip of a false IF ended, so a loop that passes the IF again goes there without
// stepping over the branch token by token. The skip depends only on the text from the IF's
// THEN on, and the text never changes during a run, so the position of that THEN is the key.
// Only a skip that ended at an ELSE or a ":" is remembered. Direct-mapped by position; emptied
// with the labels at every run.
inline constexpr int IF_SKIP_CACHE_SIZE = 256;

struct IfSkip {
    const char* then_at = nullptr;  // the IF's THEN; nullptr for an empty slot
    const char* stop = nullptr;     // the ELSE or ":" the skip ended at
};

extern IfSkip if_skip_cache[IF_SKIP_CACHE_SIZE];

void if_skips_clear();

void stmt_if();
void stmt_for();
void stmt_next();
