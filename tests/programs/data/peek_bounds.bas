// PEEK 2048+k reads data byte k, 0 past the packed bytes and past the store; POKE
// cannot write into the data.
// expect: 11
// expect: 33
// expect: 0
// expect: 0
// expect: 44
POKE 2048, 99
PEEK 2048, A: PRINT A
PEEK 2050, A: PRINT A
PEEK 2051, A: PRINT A
PEEK 20000, A: PRINT A
POKE 2047, 300: PEEK 2047, A: PRINT A
DATA
11 22 33
