// RX reads the signal strength and switches the transmitter off; channel and symbol stay.
// args: --set rx=200 --state
// expect: 200
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=0
// expect: tx_column=15
// expect: tx_symbol=7
TX 5, 7
RX R
PRINT R
