// Only an upper-case DATA line starts the data section; a lower-case one is a program line.
// exit: 1
// expect: 1
// expect: ERROR in line: 7
// expect: ERROR: Unknown command
// stderr: Stop in line: 7
PRINT 1
data
5
// finding: 7:0: The language knows only upper-case letters: write DATA instead of data. A run stops here with an error.
// finding: 8:0: Lines have no numbers in this language: a run stops here with "Unknown command". Remove 5; to jump here, put LABEL 5 on the line before and write GOTO 5.
