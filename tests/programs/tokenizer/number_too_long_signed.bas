// A minus sign and fifteen digits are sixteen characters: no token, so PRINT prints
// nothing and the next statement begins on the bad character.
// exit: 1
// expect: -12345678901234
// expect: ERROR in line: 7
// expect: ERROR: Unknown command
PRINT -12345678901234
PRINT -123456789012345
PRINT 1
// finding: 7:6: A number has at most 15 characters, its minus sign included, and this one has 16: a run stops here with an error. Write it with fewer digits.
