#pragma once
// The rules of the function-library dialog (FNLIB) and the constant
// manager (CALCD) as functions of the texts typed, each an error code
// (0 = accepted; nothing changes otherwise), and the library's file records.
#include "base/bytes.h"
#include "expr/compiler.h"

#include <string>

namespace qx {

// FNLIB "enter": name and definition (made upper case) of the checked
// arity, added at the end, or replacing function `editing` (-1: adding).
// Checks in order: empty name 1024, longer than 9 letters 1116, a
// character other than A..Z 1144, empty definition 2024, longer than 60
// characters 2116, a built-in or library name when adding 1122, then the
// definition compiled with the library so far: its error e as 2000 + e.
// A code of 1xxx belongs to the name field, 2xxx to the definition.
int enterUserFunction(ExprContext& cx, const std::string& name, int arity, const std::string& definition,
                      int editing = -1);
// One line of the list: "NAME(U,V) = DEFINITION".
std::string libraryLine(const UserFunction& f);

// The library as stored: a 16-bit count, then 77 bytes per function
// (definition 61, name 10, arity 16-bit, a 32-bit link written as 0).
void encodeLibrary(ByteWriter& w, const FunctionLibrary& library);
// Reads a library (an arity outside 1..3 reads as 1); false for a short
// read, a text without its NUL or a name that is not 1..9 letters.
bool decodeLibrary(ByteReader& r, FunctionLibrary& library);

// CALCD: which letters a tool's kind code refuses (message 1): kind 0
// none; 1 A and B; 2 and 3 I, and the same letter twice in "x+yi" mode;
// 2 also C. Letters are A..W (slots 1..23).
bool constantLetterRefused(int kind, int letter, int otherLetter, bool pairMode);
inline constexpr int kFirstConstantLetter = 1;  // A
inline constexpr int kLastConstantLetter = 23;  // W

} // namespace qx
