// Items of four to seven characters are dropped, eight to 32 are bit patterns (digits
// are 0 bits), 33 or more are dropped.
// expect: 5
// expect: 6
// expect: 7
// expect: 0
// expect: 8
// expect: 9
// expect: 255
// expect: 0
// expect: 170
// expect: 85
// expect: 3
// expect: 0
FOR K=0 TO 11
PEEK 2048+K, A
PRINT A
NEXT K
DATA
5 1000 6 1234567 **** 7
12345678
8 ********************************* 9
********........*.*.*.*..*.*.*.*
3
