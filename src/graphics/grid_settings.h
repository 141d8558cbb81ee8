#pragma once
// Axes and rectangular-grid settings of a window (the SETGRID dialog) and
// their validation from the dialog's field texts.
#include "base/numeric.h"

#include <array>
#include <string>

namespace qx {

enum class AxesKind : int { Both = 0, XOnly = 1, YOnly = 2 };

struct AxisScale {
    Real tickInterval = 1;   // world units between ticks (> 0)
    int places = 1;          // decimals = places mod 10; 10 and more append the suffix
    int frequency = 1;       // a label every `frequency` ticks (>= 1)
    bool piMultiples = false;
    friend bool operator==(const AxisScale&, const AxisScale&) = default;
};

struct GridSettings {
    bool axesOn = false;
    AxesKind axesKind = AxesKind::Both;
    bool ticks = true;
    bool scale = true;        // labels at the ticks
    bool letters = true;      // "x" and "y" at the ends of the axes
    bool arrows = false;      // arrowheads at the positive ends of the axes
    Real tickLength = 1;      // percent of the drawing-area width (> 0, <= 50)
    AxisScale x, y;
    std::array<bool, 4> quadrants{false, false, false, false}; // grid in quadrants I..IV
    bool dotted = false;      // grid pen style 2
    int piChar = 112;         // code of the pi sign ('p', shown by a Symbol font)
    int suffixChar = 176;     // appended when places >= 10 (degree sign)
    int axisWidth = 1;        // pen widths on the screen
    int gridWidth = 1;
    bool gridOn() const { return quadrants[0] || quadrants[1] || quadrants[2] || quadrants[3]; }
    friend bool operator==(const GridSettings&, const GridSettings&) = default;
};

// The dialog's text fields, in this order.
struct GridTexts {
    std::string tickLength;   // field 0
    std::string xInterval;    // field 1 (error + 1000)
    std::string yInterval;    // field 2 (error + 2000)
    std::string xPlaces;      // "places" and "frequency" errors use the
    std::string yPlaces;      // field code of their axis interval
    std::string xFrequency;
    std::string yFrequency;
};

GridTexts gridTexts(const GridSettings& s);
// Parse and check the texts into `out` (check boxes already set in `out`).
// Returns 0, or 1 (cannot understand) / 14 (positive value?) / 17 (out of
// bounds), plus 1000 for an x-axis field, 2000 for a y-axis field. On an
// error `out` is unchanged.
int applyGridTexts(const GridTexts& texts, GridSettings& out);

} // namespace qx
