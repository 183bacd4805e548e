// Commands for the editor and the output pane that the window's menus call: asking for a
// line to go to, and zooming the text.
#pragma once

#include <functional>

class QInputDialog;
class QPlainTextEdit;
class QWidget;

// Asks "Go to Line" for a line from 0 to `last`, offering `current`; -1 when cancelled.
int ask_line_number(QWidget* parent, int current, int last);
// When set, answers the line dialog instead of the user: it gets the dialog as it would be
// shown and returns QDialog::Accepted or Rejected, having set the value it wants.
extern std::function<int(QInputDialog&)> line_dialog_hook;

// Text sizes in pixels; each zoom step is ZOOM_STEP_PX.
inline constexpr int ZOOM_MIN_PX = 8;
inline constexpr int ZOOM_MAX_PX = 72;
inline constexpr int ZOOM_STEP_PX = 2;

// Makes the text `steps` steps larger (or smaller, for negative steps) within the limits.
// The size before the first zoom is remembered for reset_zoom.
void zoom_text(QPlainTextEdit* edit, int steps);
void reset_zoom(QPlainTextEdit* edit);
int text_pixel_size(const QPlainTextEdit* edit);
// Ctrl and the mouse wheel zoom `edit`, a step for each notch.
void enable_wheel_zoom(QPlainTextEdit* edit);
