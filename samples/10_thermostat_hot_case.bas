// LESSON 10: A THERMOSTAT IN THE SUN
// Teaches: keeping a temperature between two limits. It runs with the
// simulation on and the preset hot_case (opened from File > Examples, the
// editor sets that up and arms its mission; with the runner: zorvant-run
// --sim hot_case): the satellite never leaves the sunlight, and its computer
// heats it more the faster it runs.
// Left at full speed it settles near 70 C; at speed 0 near 28 C. Heat moves
// slowly: the temperature needs a minute or so to follow a change of speed.
// The program works like a thermostat at home: above the upper limit L it
// stops the computer (SPEED 0), below the lower limit L-G it lets it run at
// full speed again. The gap G keeps it from switching every second.
// Try: a gap of 0. The speed changes more than four times as often (135
// times in ten minutes instead of 29), for no gain. A gap of 10: 13 times.
// Try: an upper limit of 25. Even a stopped computer cannot cool a satellite
// in full sunlight that far: the speed stays at 0.
L=45
G=5
S=4
SPEED S
N=0
FOR I=1 TO 600
DELAY 1000
TGET T
IF T>L THEN IF S=4 THEN GOSUB 100
IF T<L-G THEN IF S=0 THEN GOSUB 200
NEXT I
PRINT "SPEED CHANGES"
PRINT N
END
LABEL 100
S=0
SPEED S
N=N+1
PRINT "TOO WARM, COMPUTER STOPPED AT"
PRINT T
RETURN
LABEL 200
S=4
SPEED S
N=N+1
PRINT "COOL AGAIN, FULL SPEED AT"
PRINT T
RETURN
