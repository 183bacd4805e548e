// Square roots. A negative argument reports on stderr, stores NaN and the run goes on;
// minus zero is not negative and reports nothing.
// expect: 4
// expect: 1.4142135623731
// expect: NAN
// expect: 0
// expect: 1
// expect: 4
// expect: NAN
// expect: done
// stderr: sqrt: DOMAIN error
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 20
SQRT 16, A: PRINT A
SQRT 2, B: PRINT B
SQRT -4, C: PRINT C
SQRT 0, D: PRINT D
SQRT -0, E: PRINT E+1
SQRT 3*3+7, F: PRINT F
SQRT - 9, G: PRINT G
PRINT "done"
