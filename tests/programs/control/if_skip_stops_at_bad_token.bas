// The skipped branch cannot step over an invalid token; the skip ends there and the next
// statement begins on it.
PRINT 1
IF 2<1 THEN PRINT x
PRINT 2
// exit: 1
// expect: 1
// expect: ERROR in line: 3
// expect: ERROR: Unknown command
// stderr: Stop in line: 3
// finding: 3:18: The language knows only upper-case letters: write X instead of x. A run stops here with an error.
