#pragma once
// Compile a text, evaluate it once, free the tree: how dialogs read numbers.
#include "expr/compiler.h"

namespace qx {

// Real mode (the context's mode is restored afterwards). Error codes are the
// compiler's; a failed evaluation is error 1.
int EvaluateRealText(ExprContext& cx, std::string_view text, Real& out);
// In the context's mode.
int EvaluateComplexText(ExprContext& cx, std::string_view text, Complex& out);
// As EvaluateRealText, then requires low <= value <= high (else error 17) and
// rounds the value to the nearest integer (halves toward zero).
int EvaluateIntegerText(ExprContext& cx, std::string_view text, int32_t low, int32_t high,
                        int32_t& out);
int EvaluateIntegerText(ExprContext& cx, std::string_view text, int16_t low, int16_t high,
                        int16_t& out);

} // namespace qx
