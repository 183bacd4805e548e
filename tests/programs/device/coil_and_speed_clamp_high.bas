// COIL clamps to -1..1 and truncates value times 100; SPEED truncates toward zero.
// args: --state
// expect: tb_coix=100
// expect: tb_coiy=-100
// expect: tb_coiz=28
// expect: pb_spd=2
// expect: tx_active=0
// expect: tx_column=0
// expect: tx_symbol=0
COIL 5, -5, 0.29
SPEED 2.9
// finding: 9:5: A coil takes values from -1 to 1: 5 sets it to 1. Scale the value to that range.
// finding: 9:8: A coil takes values from -1 to 1: -5 sets it to -1. Scale the value to that range.
