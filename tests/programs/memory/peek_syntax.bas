// PEEK needs a variable after the comma; a number there is reported and nothing is stored.
POKE 1,9
PEEK 1,5
PRINT 1
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Expected token 5, got 3
// finding: 2:7: PEEK needs a variable (one letter from A to Z) here, not the number 5: a run stops here with an error. The form is PEEK X,A.
