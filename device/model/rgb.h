// A colour as the window draws it, 0 to 255 a channel. Plain data below the toolkit, so that
// the colours of the editor and of the panels live with the code that chooses them and can be
// checked for legibility without a window.
#pragma once

struct Rgb {
    int r, g, b;
};
