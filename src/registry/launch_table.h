#pragma once
// The frame's launch table: which tool window each menu command opens, the
// extension of a new window's name, and the extensions that open each tool.
#include <array>
#include <string>

namespace qx {

struct LaunchRow {
    int command;            // frame command id
    const char* menuPath;   // menu path, parts separated by '|'
    const char* key;        // accelerator ("" for none)
    const char* className;  // the tool window class
    const char* extension;  // extension of a new window's name, with the dot
    const char* opens[2];   // upper-case extensions that open this tool ("" when unused)
};

inline constexpr int kToolRows = 13;

// Rows in launch-table order; the row index identifies a tool everywhere.
inline constexpr std::array<LaunchRow, kToolRows> kLaunchTable{{
    {401, "Window|Mandelbrot", "F1", "TManWin", ".man", {"MAN", ""}},
    {402, "Window|Julia", "F2", "TJulWin", ".jul", {"JUL", ""}},
    {403, "Parameter plane|Complex", "F3", "TPpcWin", ".ppc", {"PPC", "PAR"}},
    {412, "Parameter plane|Real", "F12", "TPprWin", ".ppr", {"PPR", ""}},
    {413, "Parameter plane|Lyapunov", "", "TLyaWin", ".lya", {"LYA", ""}},
    {404, "Dynamic plane|Complex", "F4", "TDycWin", ".dyc", {"DYC", ""}},
    {405, "Dynamic plane|Real", "F5", "TDyrWin", ".dyr", {"DYR", ""}},
    {408, "Web diagram", "F6", "TWebWin", ".web", {"WEB", ""}},
    {406, "IFS|Complex", "F7", "TIfcWin", ".ifc", {"IFC", ""}},
    {407, "IFS|Real", "F8", "TIfrWin", ".ifr", {"IFR", ""}},
    {409, "Bifurcation", "F9", "TBifWin", ".bif", {"BIF", ""}},
    {410, "String-rewriting", "F10", "TSRFWin", ".srf", {"SRF", ""}},
    {411, "Dimension", "F11", "TBMPWin", ".bmp", {"DIM", ""}},
}};

inline constexpr int kRowMandelbrot = 0;
inline constexpr int kRowJulia = 1;
inline constexpr int kRowComplexDynamicPlane = 5;

// Frame commands besides the launch rows.
inline constexpr int kCmdOpenLast = 48;
inline constexpr int kCmdUseDefaults = 49;
inline constexpr int kCmdExit = 24310;
inline constexpr int kCmdHelp = 354;
inline constexpr int kCmdAbout = 355;

// The row a frame command opens, or -1.
int rowOfCommand(int command);

// Where a document goes when it is opened by name.
struct Dispatch {
    enum Kind { Ignore, Tool, SlideViewer, PrinterViewer } kind = Ignore;
    int row = -1;
};

// Looks at the text after the last '.': exactly three letters, compared in
// upper case against the launch table (and SLI, PRN). Anything else is ignored.
Dispatch dispatchByExtension(const std::string& path);

// The menu path of a row as a user reads it: "Dynamic plane, Complex".
std::string menuName(const LaunchRow& row);

// The title of a new window of `row` whose counter stands at `counter`: "nonameN.ext".
std::string newWindowTitle(int row, int counter);

// Command-line words after the program name, rejoined with single blanks.
std::string joinArguments(int argc, const char* const* argv);

} // namespace qx
