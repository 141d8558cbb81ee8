#include "tools/maps/maps_help.h"

namespace qx {

namespace {

constexpr const char* kFile =
    "File menu\n\n"
    "Export writes the vector part of the window (orbits of the seed list, axes, grid,\n"
    "labels and marks) page by page; the basin picture itself is pixels.\n"
    "Disk image: Compress pixels stores pictures written to disk in compressed form.\n"
    "Close closes the window and writes its settings (dyc.ini or dyr.ini; a zoom window has\n"
    "dycz.ini or dyrz.ini).\n";

constexpr const char* kEdit =
    "Edit menu\n\n"
    "Mapping ... (Ctrl+M) asks for f(z). Write products without a sign (zz is z times z),\n"
    "powers as pow(k,z), and use the letters set under Constants. Four root-finding\n"
    "methods are built for you from a function p: Newton(p=0), Halley(p=0),\n"
    "Schroder(p=0) and House(p=0) (Householder's third-order method); for example\n"
    "Newton(zzz-2z+2=0) iterates z - p(z)/p'(z). Only what stands before '=' counts.\n"
    "Text ... puts a label at a point of the picture; Clear text removes all labels.\n"
    "Settings ... sets the maximum number of repetitions: an orbit that reaches no\n"
    "target within them gets the no-target colour.\n"
    "Targets ... edits the list of targets (points, regions, lines, infinity) that\n"
    "decide a pixel's colour; Find looks for attracting fixed points by itself.\n"
    "Examples: ten prepared maps with their targets and colours, and Root-finding:\n"
    "choose a method, then 'Find nth roots ...' sets up the basins of the n-th roots of w,\n"
    "and 'Solve p(z)=0 ...' iterates the chosen method for your p.\n";

constexpr const char* kBtns =
    "Btns menu\n\n"
    "What the left mouse button does:\n"
    "  Show period   - while the button is held, the title tells which target the\n"
    "                  point's orbit reaches and after how many repetitions;\n"
    "  Orbiter       - starts an orbit at the point; the space bar takes one step,\n"
    "                  Q ends it;\n"
    "  Tracer        - the same, drawing the orbit as it goes;\n"
    "  Inverse image - shows the preimages of the point while the button is held;\n"
    "  Image         - shows the image of the point while the button is held.\n"
    "The right button opens a zoom window ten times closer.\n";

constexpr const char* kView =
    "View menu\n\n"
    "Draw (Ctrl+D) computes the picture again; Refresh (Ctrl+R) redraws what lies over it.\n"
    "View ... sets the centre and width, Zoom in and Zoom out change the width by the zoom\n"
    "factor, Shift ... moves the view, Last window goes back. Axes and Grid ... draw\n"
    "coordinates over the picture. Press Q to stop a long drawing: what was drawn stays.\n";

constexpr const char* kOrbits =
    "Orbits menu\n\n"
    "Seed list ... names the starting points of orbits drawn over the picture when\n"
    "Overlay is on; Length of orbit (Misc menu) sets their points. Seed point ... starts\n"
    "the orbiter at a typed point. Table coordinates lists the last orbit.\n";

constexpr const char* kMisc =
    "Misc menu\n\n"
    "Colours ... chooses the special colours (the no-target colour among them). Watch\n"
    "shows the picture while it is computed. The slide list keeps views to show again.\n";

constexpr const char* kRealEdit =
    "Edit menu\n\n"
    "Mapping ... (Ctrl+M) asks for f(x,y) and g(x,y), the two components of the map\n"
    "(x,y) -> (f, g). Write products without a sign (xy is x times y) and use the letters\n"
    "set under Constants (not a, b or z). For Newton's method on a system p = 0, q = 0\n"
    "write Newton(p=0) as f and Newton(q=0) as g, or use Examples > Newton's method ...\n"
    "Text ... puts a label at a point; Clear text removes all labels.\n"
    "Settings ... sets the maximum number of repetitions.\n"
    "Targets ... edits the targets that decide a pixel's colour; Find looks for attracting\n"
    "fixed points by itself.\n"
    "Examples: the Gingerbread man, the Henon map and six quadratic maps with strange\n"
    "attractors; each writes its map and fixed points into the Notebook.\n";

constexpr const char* kRealBtns =
    "Btns menu\n\n"
    "What the left mouse button does:\n"
    "  Show period   - while the button is held, the title tells which target the\n"
    "                  point's orbit reaches and after how many repetitions;\n"
    "  Orbiter       - starts an orbit at the point; the space bar takes one step,\n"
    "                  Q ends it;\n"
    "  Tracer        - the same, drawing the orbit as it goes;\n"
    "  Inverse image - while the button is held, an ancestor of the point: a point that\n"
    "                  the map sends there, found along the curve f = x;\n"
    "  Image         - shows the image of the point while the button is held.\n"
    "The right button opens a zoom window ten times closer.\n";

constexpr const char* kRealOrbits =
    "Orbits menu\n\n"
    "Seed list ... names the starting points of orbits drawn over the picture when\n"
    "Overlay is on, written x,y and separated by ';'. The examples draw 5000 points of\n"
    "an orbit on their strange attractor. Seed point ... starts the orbiter at a typed\n"
    "point. Table coordinates lists the last orbit.\n";

constexpr const char* kParEdit =
    "Edit menu\n\n"
    "Every pixel is a parameter of a family of maps: c = x + iy in the complex plane, a = x\n"
    "and b = y in the real one. The orbit starts at the critical point and the targets\n"
    "decide the colour, as in the dynamic planes.\n"
    "Mapping ... (Ctrl+M) asks for the family: f(z) in z and c, or f(x,y) and g(x,y) in x, y,\n"
    "a and b. The root-finding methods are not offered here.\n"
    "Critical point ... sets where the orbit starts, an expression in the parameter.\n"
    "Targets ... edits the targets; a target whose texts mention the parameter is worked\n"
    "out again for every pixel.\n"
    "Examples: eight complex families (Newton, Double Mandelbrot, cubic and quartic cycles,\n"
    "Magnetism I and II, Tricorn) or the Burning ship and Henon in the real plane.\n";

constexpr const char* kParBtns =
    "Btns menu\n\n"
    "What the left mouse button does:\n"
    "  Show target - while the button is held, the title tells which target the\n"
    "                critical orbit of the clicked parameter reaches, and when;\n"
    "  Julia child - opens the dynamic plane of the clicked parameter (jchild1.dyc or\n"
    "                .dyr), centred at the critical point; later clicks update it.\n"
    "Misc > Reopen shows the Julia child again. The right button opens a zoom window.\n";

} // namespace

std::span<const MapsHelp> parHelp()
{
    static constexpr MapsHelp pages[] = {
        {"&File", kFile}, {"&Edit", kParEdit}, {"&Btns", kParBtns}, {"&View", kView}, {"&Misc", kMisc},
    };
    return pages;
}

std::span<const MapsHelp> dyrHelp()
{
    static constexpr MapsHelp pages[] = {
        {"&File", kFile}, {"&Edit", kRealEdit}, {"&Btns", kRealBtns}, {"&View", kView}, {"&Orbits", kRealOrbits},
        {"&Misc", kMisc},
    };
    return pages;
}

std::span<const MapsHelp> dycHelp()
{
    static constexpr MapsHelp pages[] = {
        {"&File", kFile}, {"&Edit", kEdit}, {"&Btns", kBtns}, {"&View", kView}, {"&Orbits", kOrbits}, {"&Misc", kMisc},
    };
    return pages;
}

} // namespace qx
