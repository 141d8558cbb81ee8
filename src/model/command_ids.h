#pragma once
// Command ids shared by the window chain.
namespace qx {

enum CommandId : int {
    CmdUseDefaults = 49,
    CmdSaveShow = 56,
    CmdSave = 57,
    CmdSaveAs = 58,
    CmdOpen = 59,
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
    CmdText = 128,         // "Text ...": a free label (NEWTEXT)
    CmdClearText = 129,    // "Clear text": remove all labels
    CmdExportEps = 372,    // "EPS ...": export the vector picture
    CmdWatch = 500,
    CmdCompressPixels = 501,
    CmdNewZoomWindow = 503,
    CmdZoomRectangle = 504,
    CmdRefresh = 513,
    CmdOrbitLength = 517,
    CmdMagnification = 520,
    CmdOverlay = 521,      // orbits of the seed list over the picture
    CmdSettings = 524,
    CmdEraseMarks = 532,
    CmdZoomSlides = 533,
    CmdMarkerAttributes = 535, // MARKATT
    CmdSeedPoint = 536,
    CmdTableCoordinates = 537,
    CmdMaxPeriod = 545,
    CmdSlideCount = 567,
    CmdAscending = 568,
    CmdSeedList = 587,
    CmdIimLimits = 588,    // screen and output limits of inverse iteration
    CmdConstants = 590,
    CmdClose = 24310,      // "Close": the window closes as by its title bar
    CmdPrint = 24320,      // "Print ...": the printer dialog
    CmdPrintPreview = 24321,
    CmdGuess = 24330,      // guessing sweeps for fast previews (inexact)
    CmdSpecialColours = 626, // "Colours ...": the palette index of a special colour
    CmdAddSlide = 645,
    CmdRemoveSlide = 646,
    CmdClearSlides = 647,
    CmdMakeSlides = 648,
};

} // namespace qx
