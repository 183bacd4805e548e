// Keywords need no word boundary; a word that starts with a keyword is that keyword.
A=7
PRINTA
FORI=1TO2:PRINTI:NEXTI
IFA=7THENPRINT3
GOTO5
PRINT 0
LABEL5
PRINT 5
// TOTAL scans as TO, T, A, L: no statement begins with TO.
TOTAL=1
PRINT 6
// expect: 7
// expect: 1
// expect: 2
// expect: 3
// expect: 5
// expect: ERROR in line: 10
// expect: ERROR: Unknown command
// exit: 1
