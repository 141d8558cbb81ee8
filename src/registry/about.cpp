#include "registry/about.h"

#include <cstdio>
#include <cstring>

namespace qx {

namespace {
constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kMonthKeys = "JanFebMarAprMayJunJulAugSepOctNovDec";
} // namespace

std::string aboutTitle(int version)
{
    return "about Quorvex [v 1." + std::to_string(version) + "]";
}

std::string compileDateLine(const char* date)
{
    std::string line = "version compiled";
    char month[4] = {};
    int day = 0, year = 0;
    if (!date || std::sscanf(date, "%3s %d %d", month, &day, &year) != 3)
        return line;
    const char* at = std::strlen(month) == 3 ? std::strstr(kMonthKeys, month) : nullptr;
    if (!at || (at - kMonthKeys) % 3 != 0)
        return line;
    return line + " " + std::to_string(day) + " " + kMonthNames[(at - kMonthKeys) / 3] + " " +
           std::to_string(year);
}

std::string aboutText(const char* compilerDate)
{
    return "Quorvex, a laboratory for discrete dynamical systems\n" + compileDateLine(compilerDate) +
           "\n\nMaps are typed as formulas and iterated in 80-bit extended precision."
           "\nPress F1 for the Mandelbrot set, F2 for a Julia set.";
}

const char* programHelpText()
{
    return R"(QUORVEX - a laboratory for discrete dynamical systems

This small window is the main frame. Every piece of work happens in a tool
window that you open from its menus. Any number of windows of any tool may be
open at once; each has its own view, parameters, colours and document.

Window
  Mandelbrot (F1)          the Mandelbrot set of z^d + c by escape time
  Julia (F2)               Julia sets of z^d + c
Parameter plane
  Complex (F3)             the fate of the critical orbit over a plane of c
  Real (F12)               the same for real two-dimensional maps
  Lyapunov                 Lyapunov exponents of the forced logistic map
Dynamic plane
  Complex (F4)             basins of attraction of a complex map, including
                           Newton's method for a typed equation
  Real (F5)                basins of real maps of the plane such as Henon's
Web diagram (F6)           cobweb orbits of one-dimensional maps
IFS
  Complex (F7), Real (F8)  attractors of iterated function systems
Bifurcation (F9)           long-run orbits along a parameter
String-rewriting (F10)     curves drawn by rewriting rules
Dimension (F11)            box-counting dimension of a picture

File
  Open ...                 open a document; its extension chooses the tool
  Open last                new windows reopen the last document of their tool
  Use defaults             new windows start from built-in defaults instead
                           of their settings files (the two switches are never
                           both on)
  Exit                     close every window and end the program

Documents can also be opened by dropping them on this window or by starting
the program with the document's name; a second start hands the document to
the copy that is already running.

Typing maps: z -> zz+c, (x,y) -> (y+1-1.4xx, 0.3x), Newton(zzz-2z+2=0).
Products may be written without a sign (2z, zz, xy); names are not case
sensitive.

While a picture is computed the title bar shows the progress and
"press Q to quit": press Q (or move, resize or right-click the window) to stop;
what was drawn stays. Right-click a point to open a zoom window around it.
)";
}

} // namespace qx
