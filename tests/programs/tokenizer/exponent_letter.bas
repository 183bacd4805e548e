// "1E5" is the one-character number "1", which atof reads as 100000, and then the variable E.
PRINT 1E5
E=10
PRINT 1E5
PRINT 2E-3
GOTO 1E1
PRINT 99
LABEL 10
PRINT 1.5E2
A=1E2
PRINT A
// expect: 100000
// expect: 5
// expect: 100000
// expect: 15
// expect: 0.002
// expect: 7
// expect: 150
// expect: 12
// expect: ERROR in line: 9
// expect: ERROR: Expected token 35, got 5
// exit: 1
// finding: 1:6: PRINT 1E5 prints 100000 and then 5 (E5 is read once more, as E+5, with E at 0): numbers have no E in this language. Write 100000.
// finding: 3:6: PRINT 1E5 prints 100000 and then 5 (E5 is read once more, as E+5, with E at 0): numbers have no E in this language. Write 100000.
// finding: 4:6: PRINT 2E-3 prints 0.002 and then -3 (E-3 is read once more, as E-3, with E at 0): numbers have no E in this language. Write 0.002.
// finding: 5:5: 1E1 is not a number of this language: a run takes it for 10, but then reads E1 once more, as more of the statement. Write 10.
// finding: 6:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 8:6: PRINT 1.5E2 prints 150 and then 2 (E2 is read once more, as E+2, with E at 0): numbers have no E in this language. Write 150.
// finding: 9:2: 1E2 is not a number of this language: a run takes it for 100, but then reads E2 once more, as more of the statement. Write 100.
