#pragma once
// The steps of CompileExpression, in the order it runs them. Each returns 0 or
// an error code. Internal to the compiler.
#include "expr/node.h"

#include <string>
#include <vector>

namespace qx::compile {

// Text steps: the text holds upper-case characters and, after names are
// recognised, function code bytes 128..255.
int normalise(std::string_view input, std::string& text);
// A function name, a blank and an operand without brackets ("sin x") is error
// 6, as "sin" followed by anything but a bracket is; the blank must not turn
// it into a product of letters. Runs on the text as typed.
int checkFunctionBeforeBlank(std::string_view input, bool complexMode);
int checkBrackets(std::string& text);
int recogniseNames(std::string& text, bool complexMode);
int rewriteSumProd(std::string& text);
int rewriteChi(std::string& text);
void markNegations(std::string& text);

struct Token {
    int code = 0;
    Complex value;
    int counter = 0;
    TreePtr node; // set while the tree is built
};
using Tokens = std::vector<Token>;

int tokenise(const std::string& text, Tokens& tokens);
void namedConstants(Tokens& tokens);
int readNumbers(Tokens& tokens);
int postfixFactorials(Tokens& tokens);
int resolveCommas(Tokens& tokens);
int implicitProductsAndSyntax(Tokens& tokens);

int buildTree(Tokens& tokens, TreePtr& tree);

// Tree steps after building.
void removeNegations(ExprNode& tree);
int checkIterCounts(const ExprNode& tree);
int restructureBranches(ExprNode& tree);
void rewriteLg(ExprNode& tree);

} // namespace qx::compile
