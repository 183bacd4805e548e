// POKE stores the low 8 bits of the truncated value; addresses are truncated too, and a
// negative PEEK address reads address 0.
POKE 5,300
PEEK 5,A
POKE 6,-1
PEEK 6,B
POKE 7,256
PEEK 7,C
POKE 0,77
PEEK -3,D
POKE 2047,9
PEEK 2047,E
POKE 1.9,12
PEEK 1,F
POKE 2,65.7
PEEK 2,G
POKE 3,-200
PEEK 3,H
POKE 4,4294967297
PEEK 4,I
PEEK 8,J
POKE 2*5,3+4
PEEK 10.5,K
PRINT A;B;C;D;E;F;G;H;I;J;K
// expect: 44
// expect: 255
// expect: 0
// expect: 77
// expect: 9
// expect: 12
// expect: 65
// expect: 56
// expect: 1
// expect: 0
// expect: 7
