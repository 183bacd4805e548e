// Scenario events move a slider before the first statement that runs once the clock has
// reached their time, never in the middle of one. A DELAY's jump of the clock takes in
// every event it passes; the latest of them for the same slider wins.
// args: --scenario {dir}/scenario_events.events
// expect: 0.05
// expect: 0.05
// expect: 0.06
// expect: 0
// expect: 0.06
// expect: 0.09
// expect: -0.03
// expect: 40
// stderr: Stop in line: 25
MGET A,B,C: PRINT A
// Still at 0 ms: the event at 50 ms has not come.
MGET A,B,C: PRINT A
DELAY 50
MGET A,B,C: PRINT A: PRINT B
// 99 ms: one short of the next events.
DELAY 49
MGET A,B,C: PRINT A
DELAY 1
MGET A,B,C: PRINT A: PRINT B
// Past the end of the events: the last one holds.
DELAY 5000
CGET R,G,B: PRINT R
