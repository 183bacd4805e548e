// Labels, GOTO, GOSUB and RETURN.
#pragma once

#include <cstdint>

// The cache can never hold more entries than the text has positions: every label number it
// records was read at a distinct position of the 8192-byte store.
inline constexpr int MAX_LABELS = 8192;

// Buckets of the index by label number; a power of two.
inline constexpr int LABEL_BUCKETS = 1024;

struct LabelEntry {
    int32_t number;
    const char* position;
    int next;        // index of the next entry, -1 for the last
    int same_hash;   // index + 1 of the next entry in the same bucket, 0 for none
};

// A singly linked list in a fixed pool: entries are appended and only ever removed all at once.
// Beside it, an index by label number (buckets of entries chained in the order they were
// added), so a lookup costs the same however many labels the run has met.
struct LabelCache {
    LabelEntry pool[MAX_LABELS];
    int first = -1;
    int last = -1;
    int count = 0;
    int bucket[LABEL_BUCKETS] = {};  // index + 1 of the bucket's first entry, 0 for none
};

extern LabelCache label_cache;

// Where the GOTO or GOSUB at a text position last went, so a loop that passes it again jumps
// without reading the label number and looking it up: the text never changes during a run, and
// a label once found keeps its position until the cache is cleared. Direct-mapped by position.
inline constexpr int JUMP_CACHE_SIZE = 256;

struct JumpSite {
    const char* site = nullptr;    // the GOTO or GOSUB token; nullptr for an empty slot
    const char* target = nullptr;  // the label's position
    const char* after = nullptr;   // GOSUB: the return point, behind the statement's ":"
};

extern JumpSite jump_cache[JUMP_CACHE_SIZE];

inline JumpSite& jump_site(const char* site) {
    return jump_cache[(reinterpret_cast<uintptr_t>(site) >> 1) % JUMP_CACHE_SIZE];
}

// Where the GOTO at `site` went when it was last passed; nullptr when that is not known.
inline const char* cached_goto(const char* site) {
    const JumpSite& j = jump_site(site);
    return j.site == site && j.after == nullptr ? j.target : nullptr;
}

void labels_clear();
// Forgets every label recorded after the first `count`, and with them every remembered jump,
// for a run taken up again from before they were met. Nothing changes when no more are kept.
void labels_truncate(int count);
const char* label_find(int32_t number);
void label_add(int32_t number, const char* position);
void label_search(int32_t number);
void jump_to_label(int32_t number);

void stmt_label();
void stmt_goto();
void stmt_gosub();
void stmt_return();
