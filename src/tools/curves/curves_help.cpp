#include "tools/curves/curves_help.h"

namespace qx {

namespace {

constexpr const char* kFile =
    "File menu\n\n"
    "Open ... and Save keep the strings in a .srf document: the initial string, the\n"
    "replacements, the lengths, the directions and the generation shown, which is worked\n"
    "out again when the document is opened. Export writes the curve as a vector picture.\n";

constexpr const char* kEdit =
    "Edit menu\n\n"
    "Library: curves made by rewriting strings, such as the dragon, the Hilbert and\n"
    "Sierpinski curves, the von Koch and Gosper islands and plants; Random draws a random\n"
    "polygonal curve by midpoint displacement.\n"
    "Strings ... edits the initial string and the replacement of each of E F G H I J K L R\n"
    "W X Y Z. The turtle reads a string: E to K move forward (each letter with its own\n"
    "length), L and R turn one step left and right, ( and ) keep and take back the\n"
    "position and direction, U lifts the pen and D puts it down; W to Z only get\n"
    "rewritten. The circle is cut into n sectors, or turns are a number of degrees.\n"
    "Text summary lists the strings.\n";

constexpr const char* kView =
    "View menu\n\n"
    "Next (Ctrl+N) replaces every character of the string by its replacement and draws the\n"
    "new generation, framed to fit; Generation 0 (Ctrl+0) goes back to the initial string.\n"
    "Strings that would pass 50 million characters are refused. Q stops a long drawing.\n";

constexpr const char* kMisc =
    "Misc menu\n\n"
    "Box count (Ctrl+B) covers the curve with grids of 1, 2, 4, ... 1024 boxes per side\n"
    "and counts the boxes it meets; the slope of ln(hits) against ln(boxes per side)\n"
    "estimates its dimension. Corners random moves the counting square a little. Grid\n"
    "overlay shows a counting grid over the picture.\n";

constexpr const char* kBmpFile =
    "File menu\n\n"
    "Open: External file ... loads a picture (BMP or PNG); Clipboard takes the picture on\n"
    "the clipboard. The title shows its name and size. Its background is the colour of\n"
    "the pixel (3, 3).\n";

constexpr const char* kBmpMisc =
    "Misc menu\n\n"
    "Box count (Ctrl+B) covers the picture with square boxes of 1024, 512, ... 1 pixels\n"
    "and counts the boxes holding a pixel that differs from the background; the slope of\n"
    "ln(hits) against ln(boxes per side) estimates the dimension of the figure. Grid\n"
    "overlay shows the boxes of one of the grids over the picture; Gridlines colour ... and\n"
    "Background colour ... (around the picture) choose their palette entries.\n";

} // namespace

std::span<const HelpPage> bmpHelp()
{
    static constexpr HelpPage pages[] = {{"&File", kBmpFile}, {"&Misc", kBmpMisc}};
    return pages;
}

std::span<const HelpPage> srfHelp()
{
    static constexpr HelpPage pages[] = {
        {"&File", kFile}, {"&Edit", kEdit}, {"&View", kView}, {"&Misc", kMisc},
    };
    return pages;
}

} // namespace qx
