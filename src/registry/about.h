#pragma once
// Texts of the about box and the program help.
#include <string>

namespace qx {

inline constexpr int kProductVersion = 13; // shown as "1.13"

// "about Quorvex [v 1.13]"
std::string aboutTitle(int version = kProductVersion);
// The about text: the opening line, the compile-date line built from a
// compiler date such as "Dec  6 2026", then further lines.
std::string aboutText(const char* compilerDate);
// "version compiled 6 December 2026"; "version compiled" alone for a date it cannot read.
std::string compileDateLine(const char* compilerDate);
// The program help shown by the frame's Help command.
const char* programHelpText();

} // namespace qx
