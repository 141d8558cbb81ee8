#pragma once
// Input rules of the Mandelbrot and Julia windows, as functions from the
// texts a user typed to an error code (0 = accepted). Nothing changes unless
// the code is 0.
#include "tools/mandel/mj_params.h"

#include <string>

namespace qx {

// The texts of the settings dialog and the display mode whose button is checked.
struct MJParamTexts {
    std::string threshold;   // "threshhold xx + yy ="
    std::string maxReps;     // maximum reps, optionally followed by "@1" / "@0"
    std::string thickness;   // DEM thickness in pixels
    DisplayMode mode = DisplayMode::Bands;
};

// Field parts of the settings dialog's codes: a fault of the maximum reps
// adds 1000, a fault of the thickness adds 2000, the threshold's is plain.
inline constexpr int kMaxRepsField = 1000;
inline constexpr int kThicknessField = 2000;

// The texts the dialog shows for p: threshold with 2 decimals, maximum reps
// followed by "@1" when anti-aliasing is on, thickness with 7 decimals.
MJParamTexts paramTexts(const MJParams& p);

// Checks the settings dialog and, on success, stores it into p: thickness
// >= 0 (else 2017), maximum reps 2..2147483647 with an optional "@k" suffix
// (else 1017; 1001 when not a number), threshold >= 1e-16 (else 14), mode
// 0..4 and IIM only in Julia windows (else 17). Blend mode raises the
// threshold to at least 256, binary mode to at least 100.
int applyParamTexts(const MJParamTexts& texts, MJParams& p);

// "Degree ...": an integer 2..10 (else 17; 1 when not a number).
int applyDegreeText(const std::string& text, MJMapParams& p);

// Reads a whole text as a real number, surrounding blanks allowed.
bool parseReal(const std::string& text, Real& value);

} // namespace qx
