// What no run reads is never an error: a comment behind GOTO, RETURN or END (the editor
// raises its letters as they are typed), a tab behind END. E-notation in PRINT runs, but
// prints more than it says.
GOSUB 1
PRINT 1E5
GOTO 2 // ON TO THE END
LABEL 1
RETURN // BACK
LABEL 2
END	
// finding: 4:6: PRINT 1E5 prints 100000 and then 5 (E5 is read once more, as E+5, with E at 0): numbers have no E in this language. Write 100000.
// finding: 5:7: A run never reads this comment, as nothing after a GOTO, RETURN or END on its line is read; but "//" starts a comment only at the start of a line, and after any other statement it stops a run. Put the comment on a line of its own.
// finding: 7:7: A run never reads this comment, as nothing after a GOTO, RETURN or END on its line is read; but "//" starts a comment only at the start of a line, and after any other statement it stops a run. Put the comment on a line of its own.
