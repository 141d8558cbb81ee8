#pragma once
// Numbers typed into dialogs: a plain decimal real or integer, surrounded
// by blanks at most. (Dialogs that accept expressions use the expression
// compiler instead.)
#include "base/numeric.h"

#include <cstdint>
#include <string>

namespace qx {

// True and the value when the whole text is one finite number ("pi" and
// "-pi" are accepted as well).
bool parseRealText(const std::string& text, Real& out);
// True when the text is a number that is a whole value in int32 range.
bool parseIntText(const std::string& text, int32_t& out);
// The text without leading and trailing blanks.
std::string trimmedText(const std::string& text);

} // namespace qx
