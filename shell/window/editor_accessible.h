// What assistive technology reads of the program editor: its text, caret and selection, and
// each character's extents where the character shows, so that a magnifier can follow the caret
// and the current-line band can be found from outside.
#pragma once

// Gives every CodeEditor the interface of editor_accessible.cpp; calling it again does nothing.
void install_editor_accessible();
