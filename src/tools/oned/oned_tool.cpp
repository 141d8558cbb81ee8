// The Lyapunov diagram as a registered tool: launch row, batch options and
// the LPARAM dialog.
#include "tools/oned/oned_tool.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "tools/oned/tlyawin.h"

#include <cstdio>

namespace qx {

namespace {

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

} // namespace

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
