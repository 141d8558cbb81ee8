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
    "Zoom: drag a rectangle with the left button to zoom into it; the right button opens a\n"
    "zoom window ten times closer. Both change the plotted and skipped points by the zoom\n"
    "(three times as many for ten times closer, at least 100) so the closer view stays as\n"
    "dense.\n";

constexpr const char* kBifMisc =
    "Misc menu\n\n"
    "Colours ... chooses the special colours (the points use the critical-orbit colour,\n"
    "the overlay the tracing colour). Watch shows the columns as they are drawn; Q stops.\n"
    "Slide list: Add to list (F9) keeps the view, the counts, the density and the seed;\n"
    "Zoom slides ... adds slides zooming in on the centre, each with its counts rescaled as\n"
    "for a zoom window; Make slides draws them one after the other.\n";

constexpr const char* kWebFile =
    "File menu\n\n"
    "Open ... and Save keep the web diagram in a .web document: the function, the seed,\n"
    "the steps drawn, the trace mode and the view; opening it draws the web again to the\n"
    "stored steps. Export writes the graph, the diagonal and the web as a vector picture.\n"
    "Close writes web.ini.\n";

constexpr const char* kWebEdit =
    "Edit menu\n\n"
    "Mapping ... asks for f(x). The graph y = f(x), the diagonal y = x and the web of the\n"
    "orbit x0, f(x0), f(f(x0)), ... are drawn: each step goes up or down from the diagonal\n"
    "to the graph and across to the diagonal again.\n"
    "Mandelbrot default: xx+r with r = -1.41; Logistic default: rx(1-x) with r = 3.9.\n"
    "Cycles: 2-cycle .. 11-cycle pick at random a parameter at which the critical point\n"
    "(0 for xx+r, 0.5 for rx(1-x)) is periodic with that period, and draw that many steps.\n"
    "Settings ... (web parameters): the seed, constant or the value of a letter A .. W\n"
    "(the parameter bar then moves the seed and with it the whole web), the trace (total:\n"
    "every step stays; partial: only the latest; off: nothing is drawn), the initial\n"
    "segment from the x-axis, arrows on long segments and the current x at the last point.\n";

constexpr const char* kWebView =
    "View menu\n\n"
    "One (Ctrl+1) draws one more step, Many the number that How many ... sets (1 to\n"
    "32767). While the steps are drawn: Q stops, S slows down, F speeds up, P pauses\n"
    "until the next key. Clear (Ctrl+C) removes the web and goes on from the current x;\n"
    "Reset starts again at the seed. The parameter bar below the picture moves r (or the\n"
    "letter that holds the seed) between its bounds and draws the web again.\n";

constexpr const char* kWebBtns =
    "Btns menu\n\n"
    "Coords: the left button shows the clicked point in the title; the right button\n"
    "moves the view's centre to the click, keeping the width.\n";

constexpr const char* kWebMisc =
    "Misc menu\n\n"
    "Beeps plays a tone for each step, higher as the point on the graph is higher;\n"
    "S and F then make the tones longer or shorter. Colours ... chooses the special\n"
    "colours: the graph uses the tracing colour, the diagonal the fixed-point colour and\n"
    "the web the IIM colour.\n";

} // namespace

std::span<const OnedHelp> webHelp()
{
    static constexpr OnedHelp pages[] = {
        {"&File", kWebFile}, {"&Edit", kWebEdit}, {"&Btns", kWebBtns}, {"&View", kWebView}, {"&Misc", kWebMisc},
    };
    return pages;
}

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
