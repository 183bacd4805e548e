// Without a data section, PEEK 2048 reads 0, not the program text.
// expect: 0
// expect: 0
PEEK 2048, A: PRINT A
PEEK 2049, A: PRINT A
