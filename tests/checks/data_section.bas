// The data section: only a line that reads DATA starts it, and comments in it are data.
// finding: 3:0: Only a line that reads exactly DATA starts the data section: with more on the line it is code, and a run stops here with an error. Put the items on the lines after a DATA line of its own.
// finding: 6:0: After the DATA line, comment lines are data too: the digits, dots and stars of this one add 1 byte to the data. Put comments before the DATA line.
DATA 1,2
PEEK 2048,A
DATA
// 3 ITEMS
1, 2, 3
// NO ITEMS HERE
