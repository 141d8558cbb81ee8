#pragma once
// A tree written back as readable text in the expression language, with as
// few brackets as precedence allows. Nodes that only the differentiator and
// the tools build (193, 194, 199, 200, 10, registers) get descriptive names.
#include "expr/node.h"

#include <string>

namespace qx {

std::string TreeToText(const ExprNode& tree);

} // namespace qx
