// CompileExpression: the compiler's steps in their order; the first step that
// reports an error ends the compilation with that code.
#include "expr/compiler.h"

#include "base/messages.h"
#include "expr/compile_steps.h"

namespace qx {

namespace {

int compileText(const ExprContext& cx, std::string_view input, TreePtr& tree)
{
    using namespace compile;
    std::string text;
    int e = normalise(input, text);
    if (!e) e = checkFunctionBeforeBlank(input, cx.complexMode());
    if (!e) e = checkBrackets(text);
    if (!e) e = expandUserFunctions(text, cx.library);
    if (!e) e = recogniseNames(text, cx.complexMode());
    if (!e) e = rewriteSumProd(text);
    if (!e) e = rewriteChi(text);
    if (e) return e;
    markNegations(text);
    Tokens tokens;
    e = tokenise(text, tokens);
    if (e) return e;
    namedConstants(tokens);
    e = readNumbers(tokens);
    if (!e) e = postfixFactorials(tokens);
    if (!e) e = resolveCommas(tokens);
    if (!e) e = implicitProductsAndSyntax(tokens);
    if (!e) e = buildTree(tokens, tree);
    if (e) return e;
    removeNegations(*tree);
    e = checkIterCounts(*tree);
    if (!e) e = restructureBranches(*tree);
    if (e) return e;
    rewriteLg(*tree);
    return ErrOk;
}

} // namespace

int CompileExpression(ExprContext& cx, std::string_view text, TreePtr& out)
{
    TreePtr tree;
    if (const int e = compileText(cx, text, tree)) return e;
    if (cx.simplify) SimplifyTree(cx, tree);
    out = std::move(tree);
    return ErrOk;
}

} // namespace qx
