// A keyword where an operand belongs fails the check, but the value read is that of the
// variable named by its first letter (ATAN reads A).
A=7
B=ATAN
// args: --vars
// exit: 1
// expect: ERROR in line: 3
// expect: ERROR: Expected token 5, got 38
// expect: A: 7
// expect: B: 7
// expect: C: 0
// expect: D: 0
// expect: E: 0
// expect: F: 0
// expect: G: 0
// expect: H: 0
// expect: I: 0
// expect: J: 0
// expect: K: 0
// expect: L: 0
// expect: M: 0
// expect: N: 0
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
// finding: 3:2: An assignment needs a variable (one letter from A to Z) here, not ATAN: a run stops here with an error.
