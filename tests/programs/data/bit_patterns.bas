// Bit patterns: '*' is a 1 bit, first character highest; every full group of eight
// packs a byte and a shorter trailing group is dropped.
// expect: 128
// expect: 1
// expect: 255
// expect: 255
// expect: 128
// expect: 128
// expect: 85
// expect: 64
// expect: 6
// expect: 0
FOR K=0 TO 9
PEEK 2048+K, A
PRINT A
NEXT K
DATA
*.......
.......*
********
**********
*.......*.......
1*1*1*1*
.*......**
6
