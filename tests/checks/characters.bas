// What the scanner cannot take: each run of such characters is one finding, and the statement
// it is in says nothing more.
print "HELLO"
PRINT	"TAB"
A=5 $ 2
PRINT "OPEN
A=1234567890123456
A=10 // TEN
PRINT 1E5
PRINT 1e5
A=0X1F
PRINT "a$ and TABS	ARE FINE IN TEXTS"
// finding: 2:0: The language knows only upper-case letters: write PRINT instead of print. A run stops here with an error.
// finding: 3:5: A tab is not a space in this language, and a run stops here with an error: use spaces instead.
// finding: 4:4: "$" is not part of the language: a run stops here with an error. Remove it.
// finding: 5:6: This text has no closing quote on its line: end it with " before the end of the line. A text cannot go on over the next line, and a run stops here with an error.
// finding: 6:2: A number has at most 15 characters, its minus sign included, and this one has 16: a run stops here with an error. Write it with fewer digits.
// finding: 7:5: "//" starts a comment only at the start of a line: after code it is two division signs, and a run stops here with an error. Put the comment on a line of its own.
// finding: 8:6: PRINT 1E5 prints 100000 and then 5 (E5 is read once more, as E+5, with E at 0): numbers have no E in this language. Write 100000.
// finding: 9:6: PRINT 1e5 prints 100000 and then 5 (e5 is read once more, as e+5, with e at 0): numbers have no E in this language. Write 100000.
// finding: 10:2: 0X1F is not a number of this language: a run takes it for 31, but then reads X1F once more, as more of the statement. Write 31.
