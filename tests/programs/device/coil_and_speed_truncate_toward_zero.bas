// Negative coil values truncate toward zero; SPEED below 0 becomes 0.
// args: --state
// expect: tb_coix=-99
// expect: tb_coiy=56
// expect: tb_coiz=-28
// expect: pb_spd=0
// expect: tx_active=0
// expect: tx_column=0
// expect: tx_symbol=0
COIL -0.999, 0.57, -0.29
SPEED -1
// finding: 10:6: SPEED shows 0 to 4: -1 shows 0.
