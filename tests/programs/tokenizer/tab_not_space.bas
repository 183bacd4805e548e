// Only the space separates tokens; a tab is an invalid character.
PRINT 1
PRINT  2
A = 3
PRINT A
PRINT	4
PRINT 5
// expect: 1
// expect: 2
// expect: 3
// expect: ERROR in line: 5
// expect: ERROR: Unknown command
// exit: 1
// stderr: Stop in line: 5
// finding: 5:5: A tab is not a space in this language, and a run stops here with an error: use spaces instead.
