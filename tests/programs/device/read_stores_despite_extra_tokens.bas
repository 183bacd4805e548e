// A reading statement with a stray token after its variable is reported, and the
// reading is still stored.
// args: --set tem=25 --vars
// exit: 1
// expect: ERROR in line: 33
// expect: ERROR: Expected token 35, got 20
// expect: A: 0
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
// expect: T: 25
// expect: U: 0
// expect: V: 0
// expect: W: 0
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
// stderr: Stop in line: 33
TGET T, U
PRINT 1
// finding: 33:6: TGET needs the end of the statement here, not ",": a run stops here with an error. The form is TGET X.
