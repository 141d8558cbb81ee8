#include "tools/oned/oned_help.h"

namespace qx {

namespace {

constexpr const char* kLyaFile =
    "File menu\n\n"
    "Open ... and Save keep the Lyapunov picture's settings in a .lya document: the view,\n"
    "the period string, transients and calculations, the extremes and the colours.\n"
    "Close writes the window's settings (lya.ini; a zoom window has lyaz.ini).\n";

constexpr const char* kLyaEdit =
    "Edit menu\n\n"
    "Settings ... (Lyapunov parameters) sets the period string of A and B that drives the\n"
    "logistic map r x (1 - x): the k-th step uses r = a where the string has A and r = b\n"
    "where it has B (blanks and commas are ignored, so \"a, b\" is AB). Transients are\n"
    "steps left out before the average, calculations the steps averaged (both rounded\n"
    "down to whole periods of the string). The exponents of the last picture are shown;\n"
    "the stable extreme (at most 0) and the unstable extreme (at least 0) are the exponents\n"
    "that get the full stable and unstable colour. Reset works them out again from the\n"
    "corners of the square.\n";

constexpr const char* kLyaBtns =
    "Btns menu\n\n"
    "Show exponent: while the left button is held, the title shows the clicked (a, b) and\n"
    "its Lyapunov exponent in bits. The right button opens a zoom window ten times closer.\n";

constexpr const char* kLyaView =
    "View menu\n\n"
    "Draw (Ctrl+D) computes the picture again; a runs from left to right, b from bottom to\n"
    "top over the square [0, 4] x [0, 4] at first. View ..., Zoom in, Zoom out, Shift ... and\n"
    "Last window change what is shown. Q stops a long drawing; what was drawn stays.\n";

constexpr const char* kLyaMisc =
    "Misc menu\n\n"
    "Colors: Stable ..., Unstable ... and Threshhold ... choose the palette entries of the\n"
    "three colours; negative exponents shade from the stable colour towards the threshold,\n"
    "positive ones from the threshold towards the unstable colour. Watch shows the picture\n"
    "while it is computed; the slide list keeps views to show again.\n";

constexpr const char* kBifFile =
    "File menu\n\n"
    "Open ... and Save keep the bifurcation diagram in a .bif document: the map, the\n"
    "overlay, the counts, the seed and the view. Export writes the diagram's points and\n"
    "the overlay curve as a vector picture. Close writes bif.ini (bifz.ini for a zoom window).\n";

constexpr const char* kBifEdit =
    "Edit menu\n\n"
    "Mapping ... (Ctrl+M) asks for f(r,x): for every r across the view the orbit of the\n"
    "seed under x -> f(r,x) is iterated past the skipped points and the following plotted\n"
    "points are drawn above r (one point for a fixed point, two for a 2-cycle).\n"
    "Left-to-right default: the logistic map rx(1-x) for r from 1 to 4; right-to-left\n"
    "default: xx+r for r from -2 to 0.25.\n"
    "Settings ... sets the plotted and skipped points, the plot density (r values per pixel\n"
    "column) and the seed. Overlay function ... draws a curve x(r) over the diagram, for\n"
    "example the fixed points 1-1/r of the logistic map.\n";

constexpr const char* kBifBtns =
    "Btns menu\n\n"
    "The right button opens a zoom window ten times closer, with more plotted and skipped\n"
    "points so that the closer view stays as dense.\n";

constexpr const char* kBifMisc =
    "Misc menu\n\n"
    "Colours ... chooses the special colours (the points use the critical-orbit colour,\n"
    "the overlay the tracing colour). Watch shows the columns as they are drawn; Q stops.\n";

} // namespace

std::span<const OnedHelp> bifHelp()
{
    static constexpr OnedHelp pages[] = {
        {"&File", kBifFile}, {"&Edit", kBifEdit}, {"&Btns", kBifBtns}, {"&View", kLyaView}, {"&Misc", kBifMisc},
    };
    return pages;
}

std::span<const OnedHelp> lyaHelp()
{
    static constexpr OnedHelp pages[] = {
        {"&File", kLyaFile}, {"&Edit", kLyaEdit}, {"&Btns", kLyaBtns}, {"&View", kLyaView}, {"&Misc", kLyaMisc},
    };
    return pages;
}

} // namespace qx
