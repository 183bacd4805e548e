// An expression in the destination: the letter is the destination, the rest is
// reported, and the result is still stored.
// args: --vars
// exit: 1
// expect: 1
// expect: ERROR in line: 35
// expect: ERROR: Expected token 35, got 22
// expect: A: 1.5708
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
// stderr: Stop in line: 35
PRINT 1
TPATAN 1, 0, A+1
PRINT 2
// finding: 35:14: TPATAN needs the end of the statement here, not "+": a run stops here with an error. The form is TPATAN X,Y,A.
