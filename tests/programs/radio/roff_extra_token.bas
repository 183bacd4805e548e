// ROFF followed by a stray token is reported, but the transmitter is already off.
// args: --state
// exit: 1
// expect: ERROR in line: 14
// expect: ERROR: Expected token 35, got 3
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=0
// expect: tx_column=18
// expect: tx_symbol=2
// stderr: Stop in line: 14
TX 6, 2
ROFF 1
PRINT 3
// finding: 14:5: ROFF needs the end of the statement here, not the number 1: a run stops here with an error.
