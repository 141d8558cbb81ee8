#include "tools/ifs/ifs_help.h"

namespace qx {

namespace {

constexpr const char* kIfcFile =
    "File menu\n\n"
    "New: Gasket, Pentagon, Flake, Cantor, Von Koch and Dragon are systems of complex\n"
    "maps; Random ... makes rotary dilations about the roots of unity. Open ... and Save\n"
    "keep the maps, their weights and colours, the sequence, the constants and the view\n"
    "in a .ifc document. Export writes the points as a vector picture.\n";

constexpr const char* kIfrFile =
    "File menu\n\n"
    "New: Fern, Twig, Gasket, Maze, Von Koch and Dragon are systems of affine maps of the\n"
    "plane; Random ... makes maps around the unit circle. Open ... and Save keep the maps,\n"
    "their triangles, weights and colours, the reference triangle, the constants and the\n"
    "view in a .ifr document.\n";

constexpr const char* kEdit =
    "Edit menu\n\n"
    "Inventory ... (Ctrl+I) lists the maps (up to 30); edit one, add a new one, delete or\n"
    "hide it. A complex map is z --> a text in z, or a rotary dilation: a fixed point, a\n"
    "dilation and a rotation angle. A real map is a pair of texts in x and y, or the\n"
    "affine map taking the reference triangle to an image triangle (Reference\n"
    "triangle ... sets the reference). Each map has a weight 1..100: the chance of\n"
    "choosing it is its weight over the sum of the weights of the visible maps.\n"
    "Constants ... sets letters the maps may use.\n";

constexpr const char* kView =
    "View menu\n\n"
    "The chaos game: from a point, a map chosen at random is applied again and again and\n"
    "each point is drawn in its map's colour. Many (Ctrl+M) adds as many points as How\n"
    "many ... says (32768 at first), going on from where the orbit is; Clear (Ctrl+C)\n"
    "empties the picture. Q stops the drawing.\n";

constexpr const char* kBtns =
    "Btns menu\n\n"
    "Orbiter: click a point, then each space bar applies one random map (or the whole\n"
    "sequence) and marks the new point. Define sequence ... takes digits naming maps 0 to\n"
    "9, applied in that order at each step; an empty sequence goes back to random choice.\n";

} // namespace

std::span<const HelpPage> ifcHelp()
{
    static constexpr HelpPage pages[] = {
        {"&File", kIfcFile}, {"&Edit", kEdit}, {"&Btns", kBtns}, {"&View", kView},
    };
    return pages;
}

std::span<const HelpPage> ifrHelp()
{
    static constexpr HelpPage pages[] = {
        {"&File", kIfrFile}, {"&Edit", kEdit}, {"&Btns", kBtns}, {"&View", kView},
    };
    return pages;
}

} // namespace qx
