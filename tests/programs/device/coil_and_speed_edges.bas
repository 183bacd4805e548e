// Exact ends of the coil range, a value below -1, a product of 0.5 truncated to 0,
// and SPEED above 4.
// args: --state
// expect: tb_coix=100
// expect: tb_coiy=-100
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=0
// expect: tx_column=0
// expect: tx_symbol=0
COIL 0.5, 0.5, 0.5
SPEED 1
COIL 1, -1.5, 0.005
SPEED 10
// finding: 12:8: A coil takes values from -1 to 1: -1.5 sets it to -1. Scale the value to that range.
// finding: 13:6: SPEED shows 0 to 4: 10 shows 4.
