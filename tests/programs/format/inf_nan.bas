// Infinite and invalid values print as INF, -INF and NAN, whatever the sign of the NaN.
// atof reads "1E400" as infinity; the token is only "1", so E400 is a second item (E+400).
PRINT 1E400
PRINT -1E400
SIN 100000000*100000000,N
PRINT N
M=-N
PRINT M
PRINT 2E308
// expect: INF
// expect: 400
// expect: -INF
// expect: 400
// expect: NAN
// expect: NAN
// expect: INF
// expect: 308
// finding: 2:6: 1E400 is not a number of this language: a run takes it for INF, but then reads E400 once more, as more of the statement. Write the number out in digits, without E.
// finding: 3:6: -1E400 is not a number of this language: a run takes it for -INF, but then reads E400 once more, as more of the statement. Write the number out in digits, without E.
// finding: 8:6: 2E308 is not a number of this language: a run takes it for INF, but then reads E308 once more, as more of the statement. Write the number out in digits, without E.
