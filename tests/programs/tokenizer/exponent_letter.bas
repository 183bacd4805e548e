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
// finding: 1:6: 1E5 is not a number of this language: a run takes it for 100000, but then reads E5 once more, as more of the statement. Write 100000.
// finding: 3:6: 1E5 is not a number of this language: a run takes it for 100000, but then reads E5 once more, as more of the statement. Write 100000.
// finding: 4:6: 2E-3 is not a number of this language: a run takes it for 0.002, but then reads E-3 once more, as more of the statement. Write 0.002.
// finding: 5:5: 1E1 is not a number of this language: a run takes it for 10, but then reads E1 once more, as more of the statement. Write 10.
// finding: 6:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 8:6: 1.5E2 is not a number of this language: a run takes it for 150, but then reads E2 once more, as more of the statement. Write 150.
// finding: 9:2: 1E2 is not a number of this language: a run takes it for 100, but then reads E2 once more, as more of the statement. Write 100.
