// A semicolon in place of the comma is reported; the statement still completes and
// starts the transmission.
// args: --state
// exit: 1
// expect: ERROR in line: 14
// expect: ERROR: Expected token 20, got 21
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=1
// expect: tx_column=15
// expect: tx_symbol=3
// stderr: Stop in line: 14
TX 5; 3: PRINT 1
PRINT 2
// finding: 14:4: TX needs "," here, not ";": a run stops here with an error. The form is TX X,Y.
