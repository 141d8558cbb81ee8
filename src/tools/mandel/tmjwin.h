#pragma once
// What the Mandelbrot and Julia windows share on top of the model: the
// settings dialog, "Degree ..." and the "Show period" mouse mode.
#include "tools/mandel/tmj0win.h"

#include <span>

namespace qx {

class TMJWin : public TMJ0Win {
public:
    explicit TMJWin(bool julia) : TMJ0Win(julia) {}

    // Settings (524): the JPARAM dialog when the host has it, else one
    // many-field input; a refused entry shows its code and changes nothing.
    void settingsCommand() override;
    // Degree (522): asks "enter degree" with the current value.
    void degreeCommand();
    // Left button in mode 120: the period report in the title.
    void mouseDown(MouseButton button, PixelPoint p) override;
    // Releasing the button puts the normal title back after a period report.
    void mouseUp(MouseButton button, PixelPoint p) override;

protected:
    void declareCommands(CommandSet& set) override;

private:
    bool periodShown_ = false;

    // ---- Colour commands (mj_colour_commands.cpp): 515, 519, 523, 629, 630.
    void declareColourCommands(CommandSet& set);
    void colourCommandDone();
};

} // namespace qx
