#pragma once
// Command ids of the Mandelbrot and Julia windows (beyond the chain's).
namespace qx {

enum MJCommandId : int {
    CmdReopen = 98,         // show the Julia child again
    CmdShowPeriod = 120,    // mouse modes
    CmdJuliaSet = 121,      // Mandelbrot: open the Julia child; Julia: orbiter
    CmdPromenade = 122,     // Mandelbrot: promenade pop-up; Julia: tracer
    CmdInverseImages = 124,
    CmdImage = 125,
    CmdBinaryColours = 515,
    CmdGrays = 519,
    CmdDegree = 522,
    CmdSequence = 523,
    CmdPaletteChange = 629,
    CmdAncientPalette = 630,
    CmdOneCycle = 541,
    CmdTwoCycle = 542,
    CmdExampleFirst = 672,  // 672..677: the Julia examples
    CmdExampleLast = 677,
    CmdHelpFirst = 790,     // 790..795: the help text of each menu, in menu order
    CmdHelpLast = 795,
};

} // namespace qx
