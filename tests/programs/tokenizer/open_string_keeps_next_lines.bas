// A string left open does not swallow the lines after it: the assignment is never taken for
// text, and the run stops at the open string with the report on its line.
PRINT "ABC
A=1
PRINT "DONE"
// args: --vars
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
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
// expect: T: 0
// expect: U: 0
// expect: V: 0
// expect: W: 0
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
// stderr: Stop in line: 2
// finding: 2:6: This text has no closing quote on its line: end it with " before the end of the line. A text cannot go on over the next line, and a run stops here with an error.
