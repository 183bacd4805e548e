// --timeout stops as STOP does once the clock reaches it: a DELAY across the limit ends the
// run at the limit, exit 3, and the stop line names the statement after the DELAY. Without
// --no-wait the run would take the same quarter second.
// args: --timeout 250 --vars
// exit: 3
// expect: 1
// expect: 2
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
// stderr: Stop in line: 39
// stderr: zorvant-run: stopped at the time limit (--timeout 250)
PRINT 1
DELAY 200
PRINT 2
DELAY 100
A=1: PRINT 3
