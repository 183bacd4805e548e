// The variable list shows math results with six digits, and NaN and infinities by name.
// args: --vars
// expect: A: 0.785398
// expect: B: 0
// expect: C: 0
// expect: D: 0
// expect: E: 0
// expect: F: 0
// expect: G: 0
// expect: H: 1.117E308
// expect: I: INF
// expect: J: 0
// expect: K: 0
// expect: L: 0
// expect: M: -INF
// expect: N: NAN
// expect: O: 0
// expect: P: 0
// expect: Q: 0
// expect: R: 0
// expect: S: 0
// expect: T: 0
// expect: U: 0
// expect: V: 0
// expect: W: 0
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
// stderr: sqrt: DOMAIN error
// stderr: log: SING error
// stderr: pow: OVERFLOW error
// stderr: Stop in line: 36
ATAN 1, A
SQRT -1, N
LOG 0, M
POW 10, 400, I
HCOS 710, H
