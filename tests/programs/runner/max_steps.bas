// --max-steps stops an endless loop after that many statements, like STOP: exit 3,
// and the stop line names the statement that would have run next.
// args: --max-steps 10 --vars
// exit: 3
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
// stderr: Stop in line: 34
// stderr: zorvant-run: stopped at the step limit (--max-steps 10)
LABEL 1
A=A+1
GOTO 1
