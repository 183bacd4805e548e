// With a simulation on, MGET reads the simulated field: at the magnetic equator it points
// north, along the body's Z axis here, 31.2 uT * (6371/6871)^3 = 24.9 uT, so 0.25. TGET reads
// the starting 20 C; RX 0, the station being far away. The X coil at full current pulls the
// body's X axis towards the field, as a compass needle turns: after ten seconds the field has
// a positive X part in body axes (a little less than the turn alone gives: the orbit has
// moved on too). A --set of a colour sensor still works.
// args: --sim {dir}/still.sim --set colr=40
// expect: 0
// expect: 0
// expect: 0.25
// expect: 20
// expect: 0
// expect: 40
// expect: 0.02
// expect: 0
// expect: 0.25
MGET X,Y,Z
PRINT X
PRINT Y
PRINT Z
TGET T
PRINT T
RX R
PRINT R
CGET A,B,C
PRINT A
COIL 1,0,0
DELAY 10000
MGET X,Y,Z
PRINT X
PRINT Y
PRINT Z
