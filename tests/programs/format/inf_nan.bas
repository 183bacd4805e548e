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
// finding: 2:6: PRINT 1E400 prints INF and then 400 (E400 is read once more, as E+400, with E at 0): numbers have no E in this language. Write the number out in digits, without E.
// finding: 3:6: PRINT -1E400 prints -INF and then 400 (E400 is read once more, as E+400, with E at 0): numbers have no E in this language. Write the number out in digits, without E.
// finding: 8:6: PRINT 2E308 prints INF and then 308 (E308 is read once more, as E+308, with E at 0): numbers have no E in this language. Write the number out in digits, without E.
