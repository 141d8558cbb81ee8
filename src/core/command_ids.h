#pragma once
// Command ids shared by the window chain.
namespace qx {

enum CommandId : int {
    CmdUseDefaults = 49,
    CmdDraw = 94,
    CmdAxes = 109,
    CmdView = 114,         // "View ...": the VIEWCEN or VIEWCOR dialog
    CmdZoomOut = 115,
    CmdZoomIn = 116,
    CmdZoomFactor = 117,
    CmdShift = 118,
    CmdLastWindow = 119,
    CmdMouseFirst = 120,   // mouse modes 120..125
    CmdMouseLast = 125,
    CmdGrid = 127,         // "Grid ...": the SETGRID dialog
    CmdWatch = 500,
    CmdCompressPixels = 501,
    CmdNewZoomWindow = 503,
    CmdZoomRectangle = 504,
    CmdRefresh = 513,
    CmdOrbitLength = 517,
    CmdMagnification = 520,
    CmdSettings = 524,
    CmdMaxPeriod = 545,
    CmdConstants = 590,
};

} // namespace qx
