#include "tools/mandel/mj_help.h"

#include <array>
#include <utility>

namespace qx {

namespace {

constexpr const char* kManFile =
    "File menu\n\n"
    "Export: EPS ... and SVG ... write the picture's vector drawing (the points of the\n"
    "inverse-image method, the orbits of the seed list, axes, grid, labels and marks) as\n"
    "Encapsulated PostScript or as SVG in window pixels, PiCTeX ... as a picture for TeX\n"
    "(PiCTeX setup ... chooses the kind of file and its width), BMP ... the picture as a\n"
    "bitmap, Metafile (EMF) ... as an enhanced metafile that holds both the pixels and the\n"
    "drawing, one file per page; with several pages you name what changes from page to\n"
    "page (letters of constants, or \\ZOOM, \\PROM, \\REPS). Escape-time pictures are pixels:\n"
    "they go into the bitmap and the metafile, not into the other vector formats.\n"
    "Print ... (Ctrl+P) prints the picture on a page, fitted to the paper with the window's\n"
    "proportions: pixel pictures are computed again at the printer's resolution, points and\n"
    "lines stay sharp; Print preview ... shows the page first.\n"
    "Disk image: Compress pixels stores pictures written to disk in compressed form.\n"
    "Open ... reads a Mandelbrot (.man) or Julia (.jul) document: the view, the map's degree,\n"
    "the parameters, the colours, the seed list, the slide list, the grid, labels and marks,\n"
    "and where the window stood on the screen. If the current document has unsaved changes\n"
    "you are asked first.\n"
    "Save writes the window to its document; Save as ... asks for a new name first. A failed\n"
    "save never destroys the previous file. A zoom window is a new document of its own.\n"
    "Close closes the window, asking first to save a changed document, and writes its\n"
    "settings (mandel.ini or jul.ini; a zoom window has mandelz.ini or julz.ini).\n";

constexpr const char* kManEdit =
    "Edit menu\n\n"
    "Text ... puts a label at a point of the picture; Clear text removes all labels.\n"
    "Copy to clipboard puts the picture on the clipboard (as SVG too where it has points).\n"
    "Settings ... sets the threshold (an orbit has escaped once x*x + y*y exceeds it), the\n"
    "maximum number of repetitions and the display mode:\n"
    "  bands   - escaping points are coloured by their escape count, cycling through the\n"
    "            colour sequence; the set itself is drawn in the set colour;\n"
    "  DEM     - distance estimation: points within the given thickness (in pixels) of the\n"
    "            boundary are drawn in the set colour, all others in the DEM colour;\n"
    "  blend   - like bands, with smooth transitions between neighbouring colours\n"
    "            (raises the threshold to at least 256);\n"
    "  binary  - escaping points are coloured by the sector of the last orbit point's\n"
    "            angle, which shows the binary decomposition (raises the threshold to at\n"
    "            least 100).\n"
    "Write @1 after the maximum repetitions (for example 400@1) to smooth edges by sampling\n"
    "five points per pixel; @0 or nothing turns that off. OK keeps the settings, Redraw\n"
    "keeps them and draws at once.\n"
    "Constants ... shows the letters formulas may use; c is the parameter of the map.\n"
    "Degree ... sets the exponent d of z -> z^d + c, from 2 to 10. Draw to see the effect.\n"
    "Indifferent cycles: 1-cycle ... asks for a number t between 0 and 1 (a fraction such as\n"
    "2/5 is fine) and opens the Julia set of the point of the main cardioid's boundary where\n"
    "the fixed point has rotation number t; 2-cycle ... does the same on the circle of the\n"
    "period-2 disc.\n";

constexpr const char* kJulEdit =
    "Edit menu\n\n"
    "Text ... puts a label at a point of the picture; Clear text removes all labels.\n"
    "Copy to clipboard puts the picture on the clipboard (as SVG too where it has points).\n"
    "Settings ... sets the threshold, the maximum number of repetitions and the display\n"
    "mode: bands, DEM (distance estimation with a boundary thickness in pixels), IIM (the\n"
    "inverse-image method: the Julia set is traced by iterating backwards from a repelling\n"
    "fixed point; press Q to stop), blend (smooth bands, threshold at least 256) and binary\n"
    "(sectors of the last orbit point's angle, threshold at least 100). Write @1 after the\n"
    "maximum repetitions to smooth edges.\n"
    "Constants ... shows the parameter c of z -> z^d + c as the letter C, with the other\n"
    "letters a formula may use: a seed typed as C/2 starts at half of c.\n"
    "Degree ... sets the exponent d, from 2 to 10.\n"
    "Examples sets c and the maximum repetitions for a famous Julia set: Airplane,\n"
    "Fat rabbit, Feigenbaum-Myrberg, Rabbit, San Marco and Siegel disk. The seed list is\n"
    "emptied and orbit overlays are turned off; the view stays as it is.\n";

constexpr const char* kManBtns =
    "Btns menu: what the left mouse button does\n\n"
    "Show period: hold the button on a point c. The title shows c and either the step at\n"
    "which the critical orbit escaped (infinity at rep = n) or the period of the cycle it\n"
    "settles on; large means no period up to the maximum period was found.\n"
    "Julia set: click a point c to open (or update) the Julia window for that c. Reopen\n"
    "(Misc menu) shows that window again, even after it was closed.\n"
    "Promenade: click a point to open the small promenade window, which draws the Julia set\n"
    "of the point under the mouse and follows the mouse while you hold the button.\n"
    "The right button always zooms in by a factor of 10, in a new window when New zoom\n"
    "window is checked.\n";
constexpr const char* kJulBtns =
    "Btns menu: what the left mouse button does\n\n"
    "Show period: hold the button on a start point z; the title shows z and when its orbit\n"
    "escaped, or the period of the cycle it settles on.\n"
    "Orbiter: click a point to start an orbit there; the space bar advances it one step at a\n"
    "time, Q ends it.\n"
    "Tracer: drag the mouse to leave a trail of the mouse and of its image; Refresh clears it.\n"
    "Inverse images: hold the button to see markers at the d preimages of the point under the\n"
    "mouse.\n"
    "Image: hold the button to see a marker at the image of the point under the mouse.\n"
    "The right button zooms in by a factor of 10.\n";

constexpr const char* kManView =
    "View menu\n\n"
    "View ... sets the centre and the width of the picture directly.\n"
    "Zoom out and Zoom in change the width by the zoom factor; Zoom factor ... sets that\n"
    "factor. Shift ... moves the picture; Last window returns to the previous view.\n"
    "Grid ... sets the axes, ticks, scales (also in multiples of pi) and a grid by quadrant;\n"
    "Axes turns the axes on and off. Both are drawn over the picture without computing it\n"
    "again.\n"
    "Draw computes the picture again; Refresh only redraws the overlays. Press Q at any time\n"
    "to stop a drawing.\n"
    "Magnifications ... reports how far the view is zoomed in, as the decimal logarithm of\n"
    "the default width over the current width.\n"
    "Zoom windows: with New zoom window checked the right button opens a zoomed copy of the\n"
    "window; otherwise it zooms in place and raises the maximum repetitions by a third.\n"
    "Zoom rectangle marks the zoomed area in the parent window. Use defaults: child windows\n"
    "start with default settings instead of their settings file.\n";

constexpr const char* kJulOrb =
    "Orbits menu\n\n"
    "Seed list ... takes up to ten start points separated by semicolons (numbers, or\n"
    "expressions such as C/2); with Overlay checked their orbits are drawn over the picture\n"
    "after each drawing.\n"
    "Seed point ... starts the orbiter at a point you type.\n"
    "Erase marks: when checked the orbiter shows only its latest point.\n"
    "Marker attributes ... sets the kind, size and colour of the markers.\n"
    "Table coordinates lists the points of the latest orbit; Ascending sets its order.\n"
    "The orbiter ends with Q, or when no key is pressed for 15 seconds.\n";

constexpr const char* kManMisc =
    "Misc menu\n\n"
    "Watch shows the picture row by row while it is computed.\n"
    "Colours ... sets the palette colour of a special colour: the axis, IIM points, the\n"
    "critical orbit, the binary pair, the set colour (no target), tracing, gridlines, fixed\n"
    "points, ancestors, DEM and the zoom rectangle.\n"
    "Length of orbit ... sets how many points each orbit has.\n"
    "Slide list: Add to list (F9) remembers the current view and parameters, Remove last\n"
    "and Clear list edit the list, Number ... tells how many slides it holds, Make slides\n"
    "draws them one after the other (Q ends the show) and Save the show ... writes them to\n"
    "a show file (.sli). Zoom slides ... adds slides that zoom in on the centre of the view,\n"
    "each the given ratio of the one before (0.5: twice as close).\n"
    "Maximum = ... sets the longest cycle that Show period looks for.\n"
    "Guess (fast preview, inexact) fills each rectangle whose border pixels agree without\n"
    "computing its inside: much faster where the picture has large even regions, but a detail\n"
    "inside such a rectangle is lost. It is off at start and never saved; exports and prints\n"
    "always compute every pixel.\n"
    "Colors: Sequence ..., Grays ... and Binary ... edit the colour sequence, the gray\n"
    "sequence used on black-and-white printers, and the binary colours with their number of\n"
    "sectors. Palette change cycles through the built-in colour sequences; Ancient palette\n"
    "restores the historic one.\n"
    "Reopen shows the Julia window of the last chosen c again.\n";

constexpr const char* kJulMisc =
    "Misc menu\n\n"
    "Watch shows the picture while it is computed: row by row, or the points of the\n"
    "inverse-image method as they come.\n"
    "Colours ... sets the palette colour of a special colour, as in the Mandelbrot window.\n"
    "Length of orbit ... sets how many points each orbit of the seed list has.\n"
    "Slide list: Add to list (F9), Remove last, Number ..., Clear list, Make slides,\n"
    "Save the show ... and Zoom slides ... work as in the Mandelbrot window; each slide\n"
    "keeps c.\n"
    "Maximum = ... sets the longest cycle that Show period looks for.\n"
    "Guess (fast preview, inexact) fills each rectangle whose border pixels agree without\n"
    "computing its inside: much faster where the picture has large even regions, but a detail\n"
    "inside such a rectangle is lost. It is off at start and never saved; exports and prints\n"
    "always compute every pixel.\n"
    "Colors: Sequence ..., Grays ..., Binary ..., Palette change and Ancient palette edit\n"
    "the colours as in the Mandelbrot window.\n"
    "IIM limits ... sets the number of inverse-iteration steps drawn on the screen (0: no\n"
    "limit) and in exports. Whenever Q interrupts the inverse-image method a new ceiling is\n"
    "established: the number of steps reached, but at least 1000, becomes the screen limit,\n"
    "so the next drawing of the picture stops where you stopped it.\n";

constexpr std::array<std::pair<const char*, const char*>, 9> kTexts{{
    {"MANFILEH", kManFile}, {"MANEDITH", kManEdit}, {"MANBTNSH", kManBtns},
    {"MANVIEWH", kManView}, {"MANMISCH", kManMisc}, {"JULEDITH", kJulEdit},
    {"JULBTNSH", kJulBtns}, {"JULORBH", kJulOrb},   {"JULMISCH", kJulMisc},
}};

constexpr std::array<const char*, 5> kManResources{"MANFILEH", "MANEDITH", "MANBTNSH",
                                                   "MANVIEWH", "MANMISCH"};
constexpr std::array<const char*, 6> kJulResources{"MANFILEH", "JULEDITH", "JULBTNSH",
                                                   "MANVIEWH", "JULORBH",  "JULMISCH"};

} // namespace

std::string_view mjHelpText(std::string_view resource)
{
    for (const auto& [name, text] : kTexts)
        if (resource == name)
            return text;
    return {};
}

std::span<const char* const> mjHelpResources(bool julia)
{
    if (julia)
        return kJulResources;
    return kManResources;
}

} // namespace qx
