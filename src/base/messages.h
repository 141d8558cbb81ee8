#pragma once
// The message table: every failure the program reports is a small code whose
// text comes from here. Dialog validation adds 1000 or 2000 to a code to say
// which field failed; the text is that of the code without the field part.
#include <string>

namespace qx {

inline constexpr const char* kDefaultCaption = "hmm ...";

// Error codes used by name in the code.
enum ErrorCode : int {
    ErrOk = 0,
    ErrCannotUnderstand = 1,
    ErrCouldNotFind = 2,
    ErrLowMemory = 3,
    ErrNoMoreRoom = 4,
    ErrInconsistentData = 6,
    ErrIncompatibleVersions = 8,
    ErrNothingToDo = 9,
    ErrCannotOpenFile = 11,
    ErrCannotSaveFile = 12,
    ErrPositiveValue = 14,
    ErrOutOfBounds = 17,
    ErrTooLarge = 20,
    ErrBadIniFile = 21,
    ErrMissingData = 24,
    ErrTooManyArguments = 101,
    ErrUnbalancedBrackets = 108,
    ErrNameTooLong = 116,
    ErrNameInUse = 122,
    ErrNameNotAlphabetic = 144,
};

// The field part of a dialog code: 0 for a plain code, 1 for 1000..1999, 2 for 2000..2999.
int dialogField(int code);
// The code with any dialog field part removed.
int baseCode(int code);
// The message text of a code (dialog field part ignored); "error N" for an unknown code.
std::string messageText(int code);

} // namespace qx
