// POKE outside 0..2047 writes nothing; PEEK from 2048 on reads the DATA bytes behind the
// program text, and 0 beyond the program store.
// expect: 1
// expect: 2
// expect: 7
// expect: 200
// expect: 0
// expect: 0
// expect: 0
// expect: 1
// expect: 0
POKE 0,1
POKE 2047,2
POKE -1,5
POKE 2048,6
POKE 100000,8
POKE -2147483648,9
PEEK 0,A
PEEK 2047,B
PEEK 2048,C
PEEK 2048+1,D
PEEK 2050,E
PEEK 100000,F
PEEK 2147483647,G
PEEK -2147483648,H
PEEK 5000000000,I
PRINT A;B;C;D;E;F;G;H;I
DATA
7 200
