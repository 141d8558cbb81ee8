// The map tools as registered tools: launch rows, batch options (examples,
// mappings, the n-th roots generator), `info` lines and the ROOTFIND dialog.
#include "tools/maps/maps_tool.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "tools/maps/tdycwin.h"
#include "tools/maps/tdyrwin.h"
#include "tools/maps/tparwin.h"

#include <cstdio>

namespace qx {

namespace {

const char* const kMethodNames[kRootMethods] = {"newton", "halley", "schroder", "householder"};

std::string errorText(int e)
{
    return "error " + std::to_string(e) + ": " + messageText(e);
}

// --example by index or by menu text.
int applyExampleOption(TFracWin& win, const BatchOptionValues& values, std::string& error)
{
    const std::string* k = batchOptionValue(values, "--example");
    if (!k)
        return 0;
    const int n = win.exampleIndex(*k);
    if (n < 0 || !win.applyExample(n)) {
        std::string names;
        for (int i = 0; i < win.exampleCount(); ++i) {
            std::string t = win.exampleText(i);
            std::erase(t, '&');
            names += (i ? ", " : "") + t;
        }
        error = "--example '" + *k + "' is none of: " + names;
        return 2;
    }
    return 0;
}

// --f and --g together: the real tools' two mapping texts.
int applyRealMapping(TFracWin& win, const BatchOptionValues& values, std::string& error)
{
    const std::string* f = batchOptionValue(values, "--f");
    const std::string* g = batchOptionValue(values, "--g");
    std::string split[2];
    if (const std::string* m = batchOptionValue(values, "--map")) { // "f;g"
        const size_t semi = m->find(';');
        if (semi == std::string::npos) {
            error = "--map takes \"f;g\" in the real tools";
            return 2;
        }
        split[0] = m->substr(0, semi);
        split[1] = m->substr(semi + 1);
        f = &split[0];
        g = &split[1];
    }
    if (!f && !g)
        return 0;
    if (!f || !g) {
        error = "--f and --g go together";
        return 2;
    }
    if (const int e = win.setMappings(*f, *g)) {
        error = errorText(e) + " (--f '" + *f + "', --g '" + *g + "')";
        return 1;
    }
    return 0;
}

bool applyReps(TFracWin& win, const BatchOptionValues& values, std::string& error)
{
    if (const std::string* r = batchOptionValue(values, "--reps")) {
        Real v = 0;
        if (!parseRealText(*r, v) || v != static_cast<int32_t>(v) || v < 2) {
            error = "--reps takes a whole number from 2 on, not '" + *r + "'";
            return false;
        }
        win.setMaxReps(static_cast<int32_t>(v));
    }
    return true;
}

// In the order a user would go: method, example or roots or mapping, reps.
int applyOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TDycWin&>(base);
    if (const std::string* m = batchOptionValue(values, "--method")) {
        int found = -1;
        for (int i = 0; i < kRootMethods; ++i)
            if (*m == kMethodNames[i])
                found = i;
        if (found < 0) {
            error = "unknown --method " + *m + " (newton, halley, schroder, householder)";
            return 2;
        }
        win.setRootMethod(static_cast<RootMethod>(found));
    }
    if (const int e = applyExampleOption(win, values, error))
        return e;
    if (const std::string* n = batchOptionValue(values, "--roots")) {
        int32_t k = 0;
        const std::string* w = batchOptionValue(values, "--w");
        if (!parseIntText(*n, k)) {
            error = "--roots takes 2..7, not '" + *n + "'";
            return 2;
        }
        if (const int e = win.nthRoots(k, w ? *w : "3 + 4i")) {
            error = errorText(e) + " (--roots " + *n + ")";
            return 1;
        }
    }
    if (const std::string* m = batchOptionValue(values, "--map"))
        if (const int e = win.setMapping(*m)) {
            error = errorText(e) + " (--map '" + *m + "')";
            return 1;
        }
    return applyReps(win, values, error) ? 0 : 2;
}

int applyRealOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TDyrWin&>(base);
    if (const int e = applyExampleOption(win, values, error))
        return e;
    if (const int e = applyRealMapping(win, values, error))
        return e;
    return applyReps(win, values, error) ? 0 : 2;
}

int applyParameterOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TParWin&>(base);
    if (const int e = applyExampleOption(win, values, error))
        return e;
    if (win.complexTool()) {
        if (const std::string* m = batchOptionValue(values, "--map"))
            if (const int e = win.setMapping(*m)) {
                error = errorText(e) + " (--map '" + *m + "')";
                return 1;
            }
    } else if (const int e = applyRealMapping(win, values, error)) {
        return e;
    }
    if (const std::string* c = batchOptionValue(values, "--critical")) {
        std::string x = *c, y;
        if (!win.complexTool()) {
            const size_t semi = c->find(';');
            if (semi == std::string::npos) {
                error = "--critical takes \"x;y\" in the real parameter plane";
                return 2;
            }
            x = c->substr(0, semi);
            y = c->substr(semi + 1);
        }
        if (const int e = win.setCriticalPoint(x, y)) {
            error = errorText(e) + " (--critical '" + *c + "')";
            return 1;
        }
    }
    if (!applyReps(win, values, error))
        return 2;
    if (const std::string* j = batchOptionValue(values, "--julia-child")) { // rendered instead of the plane
        Complex p;
        if (win.evaluateConstant(*j, p)) {
            error = "--julia-child takes the parameter as \"x,y\", not '" + *j + "'";
            return 2;
        }
        if (const int e = win.openJuliaChild(p)) {
            error = errorText(e);
            return 1;
        }
    }
    return 0;
}

std::string describe(const TVorlWin& base)
{
    const auto& win = dynamic_cast<const TFracWin&>(base);
    char buf[160];
    const View& v = win.view();
    std::snprintf(buf, sizeof buf, "centre: %.18Lg,%.18Lg\nwidth: %.18Lg\n", v.centerX, v.centerY, v.halfWidth);
    const ToolFiles files = win.toolFiles();
    std::string out = "kind: " + files.settingsStem + " (" + std::to_string(files.kind) + ")\nmapping: " +
                      win.mappingText() + (win.complexTool() ? "" : " , " + win.secondMappingText()) + "\n" + buf +
                      "maximum reps: " + std::to_string(win.maxReps()) + "\ntargets: " +
                      std::to_string(win.targetCount()) + "\n";
    static const char* const kinds[] = {"point", "region", "line", "infinity"};
    static const char* const patterns[] = {"bands", "blend", "colour trap"};
    for (int i = 0; i < win.targetCount(); ++i) {
        const TargetRecord& r = win.target(i);
        out += "target " + std::to_string(i) + ": " + kinds[static_cast<int>(r.kind())] + " " + r.texts[0];
        if (!r.texts[2].empty())
            out += ", " + r.texts[2];
        out += " (" + std::string(patterns[r.pattern()]) + ")\n";
    }
    return out;
}

// ROOTFIND: n from six choices and the text of w.
class RootFindForm final : public DialogForm {
public:
    explicit RootFindForm(TDycWin& win) : win_(win) {}
    std::string name() const override { return "ROOTFIND"; }
    std::string title() const override { return "nth roots of w"; }
    FormState load() const override
    {
        FormState s;
        s.fields = {{"w =", w_, false}};
        for (int n = 2; n <= 7; ++n)
            s.choices.push_back({std::to_string(n)});
        s.chosen = n_ - 2;
        return s;
    }
    int apply(const std::vector<std::string>& texts, int chosen) override
    {
        if (texts.size() != 1 || chosen < 0 || chosen > 5)
            return ErrInconsistentData;
        if (const int e = win_.nthRoots(chosen + 2, texts[0]))
            return e;
        n_ = chosen + 2;
        w_ = texts[0];
        return 0;
    }

private:
    TDycWin& win_;
    inline static int n_ = 3;
    inline static std::string w_ = "3 + 4i";
};

std::unique_ptr<DialogForm> dialogForm(TVorlWin& base, const std::string& name)
{
    auto* win = dynamic_cast<TDycWin*>(&base);
    if (!win || name != "ROOTFIND")
        return nullptr;
    return std::make_unique<RootFindForm>(*win);
}

} // namespace

const ToolDescriptor& complexDynamicPlaneTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 404;
        t.batchName = "dyc";
        t.title = "complex dynamic plane";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TDycWin>()); };
        t.documentKind = kDycKind;
        t.batchOptions = {
            {"--example", "K", "example K (index or name), 0..9 (0 Herman ring ... 9 Four fixed points)"},
            {"--map", "TEXT",
             "the map f(z), e.g. \"zz-1\", or a root-finding method of p:\n"
             "\"Newton(zzz-2z+2=0)\", Halley(...), Schroder(...), House(...)"},
            {"--roots", "N", "the basins of the N-th roots of w (2..7), one target each"},
            {"--w", "TEXT", "w of --roots (default 3 + 4i)"},
            {"--method", "NAME", "newton, halley, schroder or householder (for --roots)"},
            {"--reps", "N", "maximum repetitions (default 400)"},
        };
        t.applyBatchOptions = applyOptions;
        t.describe = describe;
        t.dialogForm = dialogForm;
        t.batchExamples = "quorvex-batch render --tool dyc --example 0 -o herman.png\n"
                          "quorvex-batch render --tool dyc --roots 5 --w 1 --method halley -o roots.png\n"
                          "quorvex-batch render --tool dyc --map \"Newton(zzz-2z+2=0)\" --example 1 -o newton.png\n";
        return t;
    }();
    return d;
}

const ToolDescriptor& complexParameterPlaneTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 403;
        t.batchName = "ppc";
        t.title = "complex parameter plane";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TPpcWin>()); };
        t.documentKind = kPpcKind;
        t.batchOptions = {
            {"--example", "K",
             "example K (index or name), 0..7 (0 Newton, 1 Double Mandelbrot, 2 Cubic 1-cycle, 3 Cubic\n2-cycle, 4 Quartic "
             "1-cycles, 5 Magnetism I, 6 Magnetism II, 7 Tricorn)"},
            {"--map", "TEXT", "the family f(z) in z and the parameter c"},
            {"--critical", "TEXT", "the critical point where orbits start, an expression in c"},
            {"--reps", "N", "maximum repetitions (default 400)"},
            {"--julia-child", "X,Y", "render the dynamic plane a click at parameter X + iY opens"},
        };
        t.applyBatchOptions = applyParameterOptions;
        t.describe = describe;
        t.batchExamples = "quorvex-batch render --tool ppc --example 5 -o magnetism.png\n"
                          "quorvex-batch render --tool ppc --example \"Double Mandelbrot\" --julia-child 0.3,0.2 "
                          "-o child.png\n";
        return t;
    }();
    return d;
}

const ToolDescriptor& realParameterPlaneTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 412;
        t.batchName = "ppr";
        t.title = "real parameter plane";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TPprWin>()); };
        t.documentKind = kPprKind;
        t.batchOptions = {
            {"--example", "K", "example K (index or name): 0 Burning ship, 1 H\xC3\xA9non"},
            {"--f", "TEXT", "f(x,y) of the family, in x, y and the parameters a, b; with --g"},
            {"--g", "TEXT", "g(x,y) of the family"},
            {"--map", "F;G", "f and g in one text, separated by ';'"},
            {"--critical", "X;Y", "the critical point, two expressions in a and b"},
            {"--reps", "N", "maximum repetitions"},
            {"--julia-child", "A,B", "render the real dynamic plane a click at (A, B) opens"},
        };
        t.applyBatchOptions = applyParameterOptions;
        t.describe = describe;
        t.batchExamples = "quorvex-batch render --tool ppr --example 0 -o ship.png\n";
        return t;
    }();
    return d;
}

const ToolDescriptor& realDynamicPlaneTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 405;
        t.batchName = "dyr";
        t.title = "real dynamic plane";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TDyrWin>()); };
        t.documentKind = kDyrKind;
        t.batchOptions = {
            {"--example", "K", "example K (index or name), 0..7 (0 Gingerbread man, 1 H\xC3\xA9non, 2..7 Quadratic 1..6;\ndefault 1)"},
            {"--f", "TEXT", "f(x,y) of the map (x,y) -> (f, g); with --g"},
            {"--g", "TEXT", "g(x,y); both \"Newton(p=0)\" and \"Newton(q=0)\" for Newton's method"},
            {"--map", "F;G", "f and g in one text, separated by ';'"},
            {"--reps", "N", "maximum repetitions (the examples set 30)"},
        };
        t.applyBatchOptions = applyRealOptions;
        t.describe = describe;
        t.batchExamples = "quorvex-batch render --tool dyr --example 1 -o henon.png\n"
                          "quorvex-batch render --tool dyr --f \"Newton(3-x-yy=0)\" --g \"Newton(4+y-xx=0)\" "
                          "--width 4 -o newton.png\n";
        return t;
    }();
    return d;
}

} // namespace qx
