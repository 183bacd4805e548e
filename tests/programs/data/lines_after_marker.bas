// Every data line ends its last item; comment lines, blank lines and a second DATA
// line after the marker are data too.
// expect: 12
// expect: 12
// expect: 34
// expect: 7
// expect: 8
// expect: 0
// finding: 14:0: After the DATA line, comment lines are data too: the digits, dots and stars of this one add 1 byte to the data. Put comments before the DATA line.
FOR K=0 TO 5
PEEK 2048+K, A
PRINT A
NEXT K
DATA
// 12 items
12
34

DATA
   
7// 8
