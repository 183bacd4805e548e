// Failed checks do not end a statement: this FOR reports five times, the last two at the
// end of the text (reported on the last program line), and still stores a start value.
T=5
FOR I 1 TO 3
// args: --vars
// exit: 1
// expect: ERROR in line: 3
// expect: ERROR: Expected token 34, got 3
// expect: ERROR in line: 3
// expect: ERROR: Expected token 5, got 11
// expect: ERROR in line: 3
// expect: ERROR: Expected token 11, got 35
// expect: ERROR in line: 3
// expect: ERROR: Expected token 5, got 2
// expect: ERROR in line: 3
// expect: ERROR: Expected token 35, got 2
// expect: A: 0
// expect: B: 0
// expect: C: 0
// expect: D: 0
// expect: E: 0
// expect: F: 0
// expect: G: 0
// expect: H: 0
// expect: I: 8
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
// expect: T: 5
// expect: U: 0
// expect: V: 0
// expect: W: 0
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
// stderr: Stop in line: 3
// finding: 3:6: FOR needs "=" here, not the number 1: a run stops here with an error. The form is FOR I=1 TO 10.
