// The destination of a math statement must be a variable letter; a number there is
// reported and nothing is stored.
// args: --vars
// exit: 1
// expect: ERROR in line: 34
// expect: ERROR: Expected token 5, got 3
// expect: A: 1
// expect: B: 0
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
// stderr: Stop in line: 34
A=1
SQRT 16, 5: PRINT A
PRINT 2
// finding: 34:9: SQRT needs a variable (one letter from A to Z) here, not the number 5: a run stops here with an error. The form is SQRT X,A.
