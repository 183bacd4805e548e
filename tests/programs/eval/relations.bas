// IF conditions: a chain keeps its first operand on the left and the last comparison decides;
// a condition without a relation is false; "=" compares doubles exactly.
IF 1<2 THEN PRINT 1
IF 2<1 THEN PRINT 2
IF 1=1 THEN PRINT 3
IF 5 THEN PRINT 4
IF 1<2<0 THEN PRINT 5
IF 3>2=3 THEN PRINT 6
IF 2>1 THEN PRINT 7
IF 0.1+0.2=0.3 THEN PRINT 8
IF 0.5+0.25=0.75 THEN PRINT 9
IF 1+1=2 THEN PRINT 10
IF 2=1+1 THEN PRINT 11
IF -1<0 THEN PRINT 12
A=3
IF A-1=2 THEN PRINT 13
IF 1=1=0 THEN PRINT 14
IF 1=2=1 THEN PRINT 15
IF 1<2>3 THEN PRINT 16
IF A THEN PRINT 17
IF 1 THEN PRINT 18
IF 2<2 THEN PRINT 19
IF 6&3=2 THEN PRINT 20
IF 2<1|4 THEN PRINT 21
IF 3=1+2&7 THEN PRINT 22
// expect: 1
// expect: 3
// expect: 6
// expect: 7
// expect: 9
// expect: 10
// expect: 11
// expect: 12
// expect: 13
// expect: 15
// expect: 20
// expect: 21
// expect: 22
// finding: 5:3: A condition without <, > or = is always false: IF 5 THEN never runs what follows THEN. Compare it with something: IF 5>0 THEN or IF 5=1 THEN.
// finding: 6:3: Only the last comparison of a chain counts: each one compares the first value, so A<B<C compares A with C. Put one comparison in each IF: IF A<B THEN IF B<C THEN ...
// finding: 7:3: Only the last comparison of a chain counts: each one compares the first value, so A<B<C compares A with C. Put one comparison in each IF: IF A<B THEN IF B<C THEN ...
// finding: 16:3: Only the last comparison of a chain counts: each one compares the first value, so A<B<C compares A with C. Put one comparison in each IF: IF A<B THEN IF B<C THEN ...
// finding: 17:3: Only the last comparison of a chain counts: each one compares the first value, so A<B<C compares A with C. Put one comparison in each IF: IF A<B THEN IF B<C THEN ...
// finding: 18:3: Only the last comparison of a chain counts: each one compares the first value, so A<B<C compares A with C. Put one comparison in each IF: IF A<B THEN IF B<C THEN ...
// finding: 19:3: A condition without <, > or = is always false: IF A THEN never runs what follows THEN. Compare it with something: IF A>0 THEN or IF A=1 THEN.
// finding: 20:3: A condition without <, > or = is always false: IF 1 THEN never runs what follows THEN. Compare it with something: IF 1>0 THEN or IF 1=1 THEN.
