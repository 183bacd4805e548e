// Colour, temperature and power readings; a letter repeated in one reading keeps
// the last value stored into it.
// args: --set colr=10 --set colg=20 --set colb=30 --set tem=-12 --set magx=10 --set magy=20 --set magz=30
// expect: 10
// expect: 20
// expect: 30
// expect: -12
// expect: 100
// expect: 0.3
// expect: 30
// expect: 20
CGET R, G, B
TGET T
PGET P
PRINT R: PRINT G: PRINT B: PRINT T: PRINT P
MGET M, M, M: PRINT M
CGET X, Y, X: PRINT X: PRINT Y
