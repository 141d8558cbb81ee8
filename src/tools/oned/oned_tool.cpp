// The Lyapunov diagram as a registered tool: launch row, batch options and
// the LPARAM dialog.
#include "tools/oned/oned_tool.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "tools/oned/tbifwin.h"
#include "tools/oned/tlyawin.h"
#include "tools/oned/twebwin.h"

#include <cstdio>

namespace qx {

namespace {

// One help text for --example, which the web and bifurcation tools share.
constexpr const char* kOnedExamples =
    "web: logistic (rx(1-x), r = 3.9), mandelbrot (xx+r, r = -1.41), or\n"
    "2-cycle .. 11-cycle (a superattracting cycle of that period);\n"
    "bif: left-to-right (rx(1-x)) or right-to-left (xx+r)";

int applyOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TLyaWin&>(base);
    TLya0Win::Texts t = win.texts();
    if (const std::string* s = batchOptionValue(values, "--string"))
        t.string = *s;
    if (const std::string* s = batchOptionValue(values, "--transients"))
        t.transients = *s;
    if (const std::string* s = batchOptionValue(values, "--calculations"))
        t.calculations = *s;
    if (const int e = win.applyTexts(t)) {
        error = "error " + std::to_string(e) + ": " + messageText(e) + " (--string, --transients, --calculations)";
        return 1;
    }
    return 0;
}

std::string describe(const TVorlWin& base)
{
    const auto& win = dynamic_cast<const TLyaWin&>(base);
    const TLya0Win::Texts t = win.texts();
    char buf[200];
    const View& v = win.view();
    std::snprintf(buf, sizeof buf, "centre: %.18Lg,%.18Lg\nwidth: %.18Lg\n", v.centerX, v.centerY, v.halfWidth);
    return "kind: lya (" + std::to_string(kLyaKind) + ")\nstring: " + t.string + "\n" + buf +
           "transients: " + t.transients + "\ncalculations: " + t.calculations + "\n";
}

// LPARAM: the string, the exponents of the last pass, the extremes,
// transients and calculations.
class LyapunovForm final : public DialogForm {
public:
    explicit LyapunovForm(TLyaWin& win) : win_(win) {}
    std::string name() const override { return "LPARAM"; }
    std::string title() const override { return "Lyapunov parameters"; }
    FormState load() const override
    {
        const TLya0Win::Texts t = win_.texts();
        char range[96];
        std::snprintf(range, sizeof range, "%.5Lf < exponents < %.5Lf", win_.smallestExponent(),
                      win_.largestExponent());
        FormState s;
        s.fields = {{"period string", t.string, false},     {"last pass", range, true},
                    {"stable extreme", t.stable, false},    {"unstable extreme", t.unstable, false},
                    {"transients", t.transients, false},    {"calculations", t.calculations, false}};
        return s;
    }
    int apply(const std::vector<std::string>& texts, int) override
    {
        if (texts.size() != 6)
            return ErrInconsistentData;
        if (const int e = win_.applyTexts({texts[0], texts[2], texts[3], texts[4], texts[5]}))
            return e;
        win_.draw();
        return 0;
    }

private:
    TLyaWin& win_;
};

std::unique_ptr<DialogForm> dialogForm(TVorlWin& base, const std::string& name)
{
    auto* win = dynamic_cast<TLyaWin*>(&base);
    if (!win || name != "LPARAM")
        return nullptr;
    return std::make_unique<LyapunovForm>(*win);
}

int applyBifOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TBifWin&>(base);
    for (const char* name : {"--default", "--example"})
        if (const std::string* d = batchOptionValue(values, name)) {
            const bool left = *d == "0" || *d == "left-to-right", right = *d == "1" || *d == "right-to-left";
            if (!left && !right) {
                error = std::string(name) + " takes left-to-right (0, the logistic map) or right-to-left (1, xx+r)";
                return 2;
            }
            win.applyDefault(left ? 0 : 1);
        }
    if (const std::string* m = batchOptionValue(values, "--map"))
        if (const int e = win.setMapping(*m)) {
            error = "error " + std::to_string(e) + ": " + messageText(e) + " (--map '" + *m + "')";
            return 1;
        }
    TBif0Win::Texts t = win.texts();
    if (const std::string* s = batchOptionValue(values, "--plotted"))
        t.plotted = *s;
    if (const std::string* s = batchOptionValue(values, "--skipped"))
        t.skipped = *s;
    if (const std::string* s = batchOptionValue(values, "--density"))
        t.density = *s;
    if (const std::string* s = batchOptionValue(values, "--seed"))
        t.seed = *s;
    if (const int e = win.applyTexts(t)) {
        error = "error " + std::to_string(e) + ": " + messageText(e) + " (--plotted, --skipped, --density, --seed)";
        return 1;
    }
    if (batchOptionValue(values, "--plain")) {
        win.showFigureOnly();
        win.setOverlay(win.overlayText(), false);
    }
    return 0;
}

std::string describeBif(const TVorlWin& base)
{
    const auto& win = dynamic_cast<const TBifWin&>(base);
    const TBif0Win::Texts t = win.texts();
    const View& v = win.view();
    char buf[200];
    std::snprintf(buf, sizeof buf, "r: %.18Lg .. %.18Lg\nx: %.18Lg .. %.18Lg\n", v.xMin, v.xMax, v.yMin, v.yMax);
    return "kind: bif (" + std::to_string(kBifKind) + ")\nmapping: " + win.mappingText() + "\noverlay: " +
           win.overlayText() + (win.overlayOn() ? "" : " (off)") + "\n" + buf + "plotted: " + t.plotted +
           "\nskipped: " + t.skipped + "\n";
}

// BPARAM: plotted, skipped, density and the seed.
class BifurcationForm final : public DialogForm {
public:
    explicit BifurcationForm(TBifWin& win) : win_(win) {}
    std::string name() const override { return "BPARAM"; }
    std::string title() const override { return "bifurcation parameters"; }
    FormState load() const override
    {
        const TBif0Win::Texts t = win_.texts();
        FormState s;
        s.fields = {{"plotted pts", t.plotted, false},
                    {"skipped pts", t.skipped, false},
                    {"plot density", t.density, false},
                    {"seed x-value", t.seed, false}};
        return s;
    }
    int apply(const std::vector<std::string>& texts, int) override
    {
        if (texts.size() != 4)
            return ErrInconsistentData;
        if (const int e = win_.applyTexts({texts[0], texts[1], texts[2], texts[3]}))
            return e;
        win_.draw();
        return 0;
    }

private:
    TBifWin& win_;
};

// WPARAM: the seed constant or tied to a letter, the trace and three switches.
class WebForm final : public DialogForm {
public:
    explicit WebForm(TWebWin& win) : win_(win) {}
    std::string name() const override { return "WPARAM"; }
    std::string title() const override { return "web parameters"; }
    FormState load() const override
    {
        const TWebWin::Settings t = win_.settings();
        std::vector<std::string> letters;
        for (char ch = 'A'; ch <= 'W'; ++ch)
            letters.emplace_back(1, ch);
        FormState s;
        s.fields = {{"seed", t.seed, true},
                    {"letter", letters[static_cast<size_t>(t.letter - 1)], false, FieldKind::List, letters},
                    {"trace", kTraces[t.trace], false, FieldKind::Radio, {kTraces[0], kTraces[1], kTraces[2]}},
                    {"initial segment", t.initialSegment ? "1" : "0", false, FieldKind::Check, {}},
                    {"arrows", t.arrows ? "1" : "0", false, FieldKind::Check, {}},
                    {"see current coordinate", t.showCoordinate ? "1" : "0", false, FieldKind::Check, {}}};
        s.choices = {{"constant", true, 0}, {"parameter", true, 1}};
        s.chosen = t.tied ? 1 : 0;
        return s;
    }
    int apply(const std::vector<std::string>& texts, int chosen) override
    {
        if (texts.size() != 6 || texts[1].size() != 1)
            return ErrInconsistentData;
        TWebWin::Settings t;
        t.tied = chosen == 1;
        t.seed = texts[0];
        t.letter = texts[1][0] - 'A' + 1;
        t.trace = -1;
        for (int k = 0; k < 3; ++k)
            if (texts[2] == kTraces[k])
                t.trace = k;
        t.initialSegment = texts[3] == "1";
        t.arrows = texts[4] == "1";
        t.showCoordinate = texts[5] == "1";
        return win_.applySettings(t);
    }

private:
    static constexpr const char* kTraces[] = {"total", "partial", "off"};
    TWebWin& win_;
};

int applyWebOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TWebWin&>(base);
    win.setDelay(0); // nobody watches the steps
    if (const std::string* e = batchOptionValue(values, "--example")) {
        int n = 0;
        if (*e == "logistic")
            win.applyDefault(TWebWin::Logistic);
        else if (*e == "mandelbrot")
            win.applyDefault(TWebWin::Quadratic);
        else if (std::sscanf(e->c_str(), "%d-cycle", &n) == 1 && n >= 2 && n <= 11 &&
                 *e == std::to_string(n) + "-cycle")
            win.generateCycle(n);
        else {
            error = "--example takes logistic, mandelbrot or 2-cycle .. 11-cycle";
            return 2;
        }
    }
    if (const std::string* m = batchOptionValue(values, "--map"))
        if (const int e = win.setMapping(*m)) {
            error = "error " + std::to_string(e) + ": " + messageText(e) + " (--map '" + *m + "')";
            return 1;
        }
    TWebWin::Settings t = win.settings();
    const std::string* seed = batchOptionValue(values, "--seed");
    const std::string* trace = batchOptionValue(values, "--trace");
    if (seed)
        t.seed = *seed;
    if (trace) {
        t.trace = *trace == "total" ? 0 : *trace == "partial" ? 1 : *trace == "off" ? 2 : -1;
        if (t.trace < 0) {
            error = "--trace takes total, partial or off";
            return 2;
        }
    }
    t.arrows = t.arrows || batchOptionValue(values, "--arrows");
    if (const int e = win.applySettings(t)) {
        error = "error " + std::to_string(e) + ": " + messageText(e) + " (--seed)";
        return 1;
    }
    if (const std::string* s = batchOptionValue(values, "--steps")) {
        int32_t n = 0;
        if (!parseIntText(*s, n) || n < 0 || n > 1000000) {
            error = "error 17: " + messageText(17) + " (--steps takes 0 .. 1000000)";
            return 1;
        }
        win.resetWeb();
        win.requestSteps(n);
    }
    if (batchOptionValue(values, "--plain"))
        win.showFigureOnly();
    return 0;
}

std::string describeWeb(const TVorlWin& base)
{
    const auto& win = dynamic_cast<const TWebWin&>(base);
    const View& v = win.view();
    char buf[300];
    std::snprintf(buf, sizeof buf, "centre: %.18Lg,%.18Lg\nwidth: %.18Lg\nseed: %.18Lg\nsteps: %d\nr: %.18Lg\n",
                  v.centerX, v.centerY, v.halfWidth, win.seedValue(), win.targetCount(), win.variable(18).re);
    return "kind: web (" + std::to_string(kWebKind) + ")\nmapping: " + win.mappingText() + "\n" + buf;
}

} // namespace

const ToolDescriptor& webTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 408;
        t.batchName = "web";
        t.title = "web diagram";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TWebWin>()); };
        t.documentKind = kWebKind;
        t.batchOptions = {
            {"--example", "NAME", kOnedExamples},
            {"--map", "TEXT", "f(x) of the map x -> f(x)"},
            {"--seed", "X", "the seed x0"},
            {"--steps", "N", "steps of the web drawn from the seed (default 0)"},
            {"--trace", "MODE", "total (every step, default), partial (the latest) or off"},
            {"--arrows", "", "arrowheads on long segments"},
            {"--plain", "", "the figure alone: no axes, grid, labels or overlay curve"},
        };
        t.applyBatchOptions = applyWebOptions;
        t.describe = describeWeb;
        t.dialogForm = [](TVorlWin& base, const std::string& name) -> std::unique_ptr<DialogForm> {
            auto* web = dynamic_cast<TWebWin*>(&base);
            if (!web || name != "WPARAM")
                return nullptr;
            return std::make_unique<WebForm>(*web);
        };
        t.batchExamples = "quorvex-batch render --tool web --example logistic --seed 0.2 --steps 40 -o web.png\n";
        return t;
    }();
    return d;
}

const ToolDescriptor& bifurcationTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 409;
        t.batchName = "bif";
        t.title = "bifurcation diagram";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TBifWin>()); };
        t.documentKind = kBifKind;
        t.batchOptions = {
            {"--default", "K", "0 left-to-right (logistic, default), 1 right-to-left (xx+r)"},
            {"--example", "NAME", kOnedExamples},
            {"--map", "TEXT", "f(r,x) of the map x -> f(r, x)"},
            {"--plotted", "N", "points plotted per r (default 100)"},
            {"--skipped", "N", "transient points per r (default 100)"},
            {"--density", "N", "r values per pixel column (default 1)"},
            {"--seed", "X", "the seed of every orbit (default random)"},
            {"--plain", "", "the figure alone: no axes, grid, labels or overlay curve"},
        };
        t.applyBatchOptions = applyBifOptions;
        t.describe = describeBif;
        t.dialogForm = [](TVorlWin& base, const std::string& name) -> std::unique_ptr<DialogForm> {
            auto* bif = dynamic_cast<TBifWin*>(&base);
            if (!bif || name != "BPARAM")
                return nullptr;
            return std::make_unique<BifurcationForm>(*bif);
        };
        t.batchExamples = "quorvex-batch render --tool bif --default 0 --seed 0.3 -o logistic.png\n";
        return t;
    }();
    return d;
}

const ToolDescriptor& lyapunovTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 413;
        t.batchName = "lya";
        t.title = "Lyapunov diagram";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TLyaWin>()); };
        t.documentKind = kLyaKind;
        t.batchOptions = {
            {"--string", "TEXT", "the period string of A and B (default AB)"},
            {"--transients", "N", "steps left out before averaging (default 300)"},
            {"--calculations", "N", "steps averaged (default 2000)"},
        };
        t.applyBatchOptions = applyOptions;
        t.describe = describe;
        t.dialogForm = dialogForm;
        t.batchExamples = "quorvex-batch render --tool lya --string AABAB --centre 3.4,3.4 --width 0.6 -o zircon.png\n";
        return t;
    }();
    return d;
}

} // namespace qx
