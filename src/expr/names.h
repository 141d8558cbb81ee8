#pragma once
// The fixed function-name table and the character classes of the compiler.
// After name recognition every function stands in the text as one code byte
// (128..255); the classes below are indexed by such bytes.
#include <string>
#include <string_view>

namespace qx {

inline constexpr int kBoundaryMark = 7;

// The code of a letter run that is a name in full, or 0. JOINA..JOINZ give
// 1001..1026. CIS, RE, IM and ARG (without a second argument) are names only
// in complex mode; the caller decides ABS/ARG with two arguments.
int lookupName(std::string_view run, bool complexMode);

bool isLetter(int c);
bool isTwoArgument(int c);
bool isMultiArgument(int c);
bool isBinaryOperator(int c);
bool isOperandFollower(int c);
bool isUnaryFunction(int c);
bool isOperandStart(int c);
bool isValidToken(int c);

// The readable name of a function code (lower case), or an empty text.
std::string functionName(int c);

} // namespace qx
