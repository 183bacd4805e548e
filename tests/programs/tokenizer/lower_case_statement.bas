// Lower-case letters are no tokens.
PRINT 1
print 2
PRINT 3
// expect: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// exit: 1
// stderr: Stop in line: 2
// finding: 2:0: The language knows only upper-case letters: write PRINT instead of print. A run stops here with an error.
