// A program of nothing but comments and blank lines ends at once without output.
// stderr: Stop in line: 0

   // indented comment
   
