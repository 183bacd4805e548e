// The colours of the window's own texts and of what lies behind them, in one place, so that
// every pair can be checked for legibility (a contrast of at least 4.5:1). The editor's
// syntax colours are in highlight.h.
#pragma once

#include "rgb.h"

namespace window_colours {

// Behind the editor column, the find bar, the panels and the buttons.
inline constexpr Rgb WINDOW_BACKGROUND = {0, 0, 128};
// Behind the variables.
inline constexpr Rgb VARIABLE_PANEL_BACKGROUND = {0, 0, 0};
// Headings and captions of the panels, on either background above.
inline constexpr Rgb PANEL_TEXT = {0, 170, 170};
// The values of the sensors a simulation moves, and the line under the panel that names it, on
// WINDOW_BACKGROUND.
inline constexpr Rgb SIMULATED_TEXT = {255, 200, 60};

// The find bar's labels, its Match case text and its status, on WINDOW_BACKGROUND.
inline constexpr Rgb FIND_BAR_TEXT = {240, 240, 240};
// The find field when its text is not in the program.
inline constexpr Rgb NOT_FOUND_BACKGROUND = {140, 0, 0};
inline constexpr Rgb NOT_FOUND_TEXT = {255, 255, 255};

// The editor's line numbers; the caret's line has the brighter one.
inline constexpr Rgb GUTTER_BACKGROUND = {24, 24, 24};
inline constexpr Rgb GUTTER_NUMBER = {140, 140, 140};
inline constexpr Rgb GUTTER_CARET_NUMBER = {235, 235, 235};

}  // namespace window_colours
