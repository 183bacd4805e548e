// Hyperbolic statements; HCOS and HSIN overflow from 710.4755859375 in magnitude.
// expect: 1
// expect: 0
// expect: 1.54308063481524
// expect: -1.1752011936438
// expect: 0.761594155955765
// expect: -1
// expect: 1.11699738308086E308
// expect: 1.79720037572282E308
// expect: INF
// expect: INF
// expect: INF
// expect: -INF
// stderr: cosh: OVERFLOW error
// stderr: cosh: OVERFLOW error
// stderr: sinh: OVERFLOW error
// stderr: sinh: OVERFLOW error
// stderr: Stop in line: 29
HCOS 0, A: PRINT A
HSIN 0, A: PRINT A
HCOS 1, A: PRINT A
HSIN -1, A: PRINT A
HTAN 1, A: PRINT A
HTAN -1000, A: PRINT A
HCOS 710, A: PRINT A
HCOS 710.47558593, A: PRINT A
HCOS 710.4755859375, A: PRINT A
HCOS -710.4755859375, A: PRINT A
HSIN 710.4755859375, A: PRINT A
HSIN -800, A: PRINT A
