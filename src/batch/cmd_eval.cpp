// quorvex-batch eval and diff: compile a text, evaluate or differentiate it,
// and print the result, for users who check their maps and for our tests.
#include "batch/commands.h"

#include "base/messages.h"
#include "expr/differentiate.h"
#include "expr/evaluator.h"
#include "expr/format.h"
#include "expr/text_eval.h"
#include "expr/tree_text.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace qx::batch {

namespace {

struct EvalOptions {
    bool complexMode = false;
    int decimals = 15;
    int variable = 'X';
    bool variableGiven = false;
    std::vector<std::pair<int, std::string>> sets; // slot, text
    std::string text;
};

// Errors go to standard error, as render's do; standard output holds values only.
int fail(int code)
{
    std::fflush(stdout);
    std::fprintf(stderr, "error %d: %s\n", code, messageText(code).c_str());
    return 1;
}

// The text of -f FILE, or of standard input for "-": at most the compiler's
// length (longer is error 17), a final line end dropped. 0, 11 or 17.
int readTextFile(const std::string& path, std::string& out)
{
    FILE* f = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (!f)
        return ErrCannotOpenFile;
    std::string text;
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() <= kMaxExpressionText + 2)
        text.append(buf, n);
    if (f != stdin)
        std::fclose(f);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (text.size() > kMaxExpressionText)
        return ErrOutOfBounds;
    out = text;
    return ErrOk;
}

// A variable name: one letter A..Z or '@', either case; its slot or -1.
int slotOf(const std::string& name)
{
    if (name.size() != 1) return -1;
    const int c = std::toupper(static_cast<unsigned char>(name[0]));
    return (c >= '@' && c <= 'Z') ? c - '@' : -1;
}

bool parseDecimals(const std::string& s, int& out)
{
    if (s.empty() || s.size() > 2 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoi(s);
    return out <= 40;
}

// Reads the options shared by eval and diff; returns 0 or an error code.
int parseOptions(const Args& args, bool forDiff, EvalOptions& o)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--complex") { o.complexMode = true; continue; }
        if (!forDiff && a == "--decimals" && hasValue) {
            if (!parseDecimals(args[++i], o.decimals)) return ErrOutOfBounds;
            continue;
        }
        if (!forDiff && a == "--set" && hasValue) {
            const std::string& s = args[++i];
            const size_t eq = s.find('=');
            const int slot = eq == std::string::npos ? -1 : slotOf(s.substr(0, eq));
            if (slot < 0) return ErrCannotUnderstand;
            o.sets.emplace_back(slot, s.substr(eq + 1));
            continue;
        }
        if (forDiff && a == "--var" && hasValue) {
            const int slot = slotOf(args[++i]);
            if (slot < 0) return ErrCannotUnderstand;
            o.variable = '@' + slot;
            o.variableGiven = true;
            continue;
        }
        if (a == "-f" && hasValue) {
            if (!o.text.empty()) return ErrTooManyArguments;
            if (const int e = readTextFile(args[++i], o.text)) return e;
            if (o.text.empty()) return ErrNothingToDo;
            continue;
        }
        if (a.size() > 1 && a[0] == '-' && a[1] == '-') return ErrCannotUnderstand;
        if (!o.text.empty()) return ErrTooManyArguments;
        o.text = a;
    }
    return o.text.empty() ? ErrNothingToDo : ErrOk;
}

int applySets(ExprContext& cx, const EvalOptions& o)
{
    for (const auto& [slot, text] : o.sets) {
        Complex v;
        if (const int e = EvaluateComplexText(cx, text, v)) return e;
        cx.env.vars[slot] = v;
    }
    return ErrOk;
}

} // namespace

int runEval(const Args& args)
{
    if (!args.empty() && args[0] == "--help") {
        std::printf("usage: quorvex-batch eval [--complex] [--set NAME=TEXT]... [--decimals N] TEXT | -f FILE\n"
                    "  -f FILE reads the text from FILE (\"-\": standard input). Errors go to standard error.\n");
        return 0;
    }
    EvalOptions o;
    if (const int e = parseOptions(args, false, o)) return fail(e);
    ExprContext cx(o.complexMode);
    if (const int e = applySets(cx, o)) return fail(e);
    Complex v;
    if (const int e = EvaluateComplexText(cx, o.text, v)) return fail(e);
    const std::string out = o.complexMode ? FormatComplexText(v, o.decimals)
                                          : FormatReal(v.re, o.decimals + 2, o.decimals);
    std::printf("%s\n", out.c_str());
    return 0;
}

int runDiff(const Args& args)
{
    if (!args.empty() && args[0] == "--help") {
        std::printf("usage: quorvex-batch diff [--complex] [--var x|y|z] TEXT | -f FILE\n"
                    "  -f FILE reads the text from FILE (\"-\": standard input). Errors go to standard error.\n");
        return 0;
    }
    EvalOptions o;
    if (const int e = parseOptions(args, true, o)) return fail(e);
    ExprContext cx(o.complexMode);
    if (!o.variableGiven) o.variable = o.complexMode ? 'Z' : 'X';
    TreePtr tree;
    if (const int e = CompileExpression(cx, o.text, tree)) return fail(e);
    int error = 0;
    TreePtr derivative = DifferentiateTree(cx, *tree, o.variable, &error);
    if (!derivative) return fail(error ? error : ErrCannotUnderstand);
    std::printf("%s\n", TreeToText(*derivative).c_str());
    return 0;
}


} // namespace qx::batch
