// Slider positions given beyond the upper end of their range are clamped.
// args: --set magx=500 --set colr=150 --set tem=100 --set rx=300
// expect: 1
// expect: 100
// expect: 80
// expect: 255
MGET A, B, C: CGET D, E, F: TGET T: RX R
PRINT A: PRINT D: PRINT T: PRINT R
