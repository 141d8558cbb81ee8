#pragma once
// The user-function library: functions of one to three parameters U, V, W,
// written in the expression language and expanded textually before names are
// recognised. The library may be empty.
#include <string>
#include <vector>

namespace qx {

struct UserFunction {
    std::string name;       // 1 to 9 letters A..Z
    std::string definition; // upper case, in U, V, W
    int arity = 1;          // 1, 2 or 3
};

struct FunctionLibrary {
    std::vector<UserFunction> functions; // in definition order
};

// Names whose letters U, V, W must survive parameter substitution: the
// built-in names that contain them, then every user-function name that
// contains U, V or W (at most 31 names; later ones overwrite the last slot).
std::vector<std::string> protectedNames(const FunctionLibrary& library);

// Replaces every call of a library function in `text` (normalised: upper
// case, no blanks, round brackets) by its bracketed definition with the
// bracketed arguments substituted, newest function first. Returns 0, or 108
// (call without its closing bracket), 24 (empty call or missing argument),
// 101 (surplus argument) or 17 (text would exceed 4999 characters).
int expandUserFunctions(std::string& text, const FunctionLibrary& library);

} // namespace qx
