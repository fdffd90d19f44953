// A colour as plain red, green and blue values (0-255), so that the colour rules of every
// subsystem stay free of the widget toolkit; the windows turn it into a QColor.
#pragma once

namespace app {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

}  // namespace app
