// Items of one to three characters pack one decimal byte, clamped to 255; an item
// holding '.' or '*' packs 0. Reading past the last byte gives 0.
// expect: 7
// expect: 7
// expect: 255
// expect: 255
// expect: 0
// expect: 0
// expect: 0
// expect: 0
// expect: 9
// expect: 0
FOR K=0 TO 9
PEEK 2048+K, A
PRINT A
NEXT K
DATA
7,007,255,999
1.5 . *** 12*
9
