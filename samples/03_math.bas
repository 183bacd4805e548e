// LESSON 3: MATH
// Teaches: math functions are statements. Each one stores its answer in the
// variable named last: SQRT 16,A puts 4 into A.
// Angles are in radians. TPATAN 0,-1,P is a quick way to get pi.
// Try: change the sides A and B of the triangle.
// Try: change the 15 in D=I*15 to get a finer table of sines.
A=3
B=4
POW A,2,X
POW B,2,Y
SQRT X+Y,C
PRINT "LONG SIDE OF THE TRIANGLE"
PRINT C
TPATAN 0,-1,P
PRINT "PI"
PRINT P
PRINT "SINES FROM 0 TO 90 DEGREES"
FOR I=0 TO 6
D=I*15
R=D*P/180
SIN R,S
// Round to three decimals: times 1000, round down after adding 0.5, divide.
FLOOR S*1000+0.5,S
PRINT D
PRINT S/1000
NEXT I
// EXP is a power like POW, not e to the power of x.
EXP 2,10,E
PRINT "2 TO THE POWER 10"
PRINT E
DLOG 1000,L
PRINT "HOW MANY TENS MAKE 1000"
PRINT L
FMOD 17.5,5,M
PRINT "REMAINDER OF 17.5 DIVIDED BY 5"
PRINT M
