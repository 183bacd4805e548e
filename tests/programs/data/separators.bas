// Anything but digits, '.' and '*' separates items: commas, blanks, minus signs,
// letters, slashes, tabs, other punctuation and bytes of 128 and above.
// expect: 1
// expect: 2
// expect: 255
// expect: 5
// expect: 12
// expect: 34
// expect: 56
// expect: 7
// expect: 8
// expect: 9
// expect: 1
// expect: 2
// expect: 3
// expect: 4
// expect: 5
// expect: 6
// expect: 7
// expect: 0
FOR K=0 TO 17
PEEK 2048+K, A
PRINT A
NEXT K
DATA
1,2,300 -5
A12B34/56
7	8-9
1é2ÿ3
4;5+6=7
