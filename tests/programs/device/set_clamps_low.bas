// Slider positions given below the lower end of their range are clamped.
// args: --set magz=-101 --set colb=-5 --set tem=-50 --set rx=-1
// expect: -1
// expect: 0
// expect: -40
// expect: 0
MGET A, B, C: CGET D, E, F: TGET T: RX R
PRINT C: PRINT F: PRINT T: PRINT R
