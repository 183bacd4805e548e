// EXP with one argument: the comma after the second expression is missing, and the
// checks that follow run into the end of the text. Nothing is stored.
// args: --vars
// exit: 1
// expect: 1
// expect: ERROR in line: 40
// expect: ERROR: Expected token 20, got 35
// expect: ERROR in line: 40
// expect: ERROR: Expected token 5, got 2
// expect: ERROR in line: 40
// expect: ERROR: Expected token 35, got 2
// expect: A: 5
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
// stderr: Stop in line: 40
A=5
PRINT 1
EXP 2, A
