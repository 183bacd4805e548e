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
// finding: 6:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 10:0: TO cannot start a statement, and a run stops here with "Unknown command": a statement starts with a word such as PRINT or FOR, or with a variable letter, as in A=5. Words need no space after them, so a name that begins with TO is read as that word; variables are single letters.
