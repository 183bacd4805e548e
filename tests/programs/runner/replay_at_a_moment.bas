// A replay runs the program again as the run that wrote its trace ran it (here with the
// magnetometer's X slider set), up to a moment of the program clock, and shows the machine
// there: at 2500 ms the third pass of the loop waits in the subroutine's DELAY.
K=1
FOR I=1 TO 5
MGET X,Y,Z
COIL K*X,0,0
GOSUB 10
NEXT I
END
LABEL 10
PRINT I
DELAY 1000
RETURN
// args: --replay {dir}/replay_at_a_moment.csv --at 2500 --set magx=50
// expect: at 2500 ms, after 21 statements (the trace's 4 rows up to here agree)
// expect: waiting in a DELAY until 3000 ms; next: editor line 13: RETURN
// expect: open: FOR I of editor line 4 (to 5); GOSUB of editor line 7
// expect: variables (the others are 0):
// expect:   I: 3
// expect:   K: 1
// expect:   X: 0.5
// expect: sensors: magx=50 magy=0 magz=0 colr=0 colg=0 colb=0 tem=0 rx=0
// expect: set by the program: coix=50 coiy=0 coiz=0 spd=4
// expect: transmitter: tx_active=0 tx_column=0 tx_symbol=0
// expect: output: 3 lines:
// expect:   1
// expect:   2
// expect:   3
