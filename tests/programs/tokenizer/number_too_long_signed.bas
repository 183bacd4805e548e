// A minus sign and fifteen digits are sixteen characters: no token, so PRINT prints
// nothing and the next statement begins on the bad character.
// exit: 1
// expect: -12345678901234
// expect: ERROR in line: 7
// expect: ERROR: Unknown command
PRINT -12345678901234
PRINT -123456789012345
PRINT 1
