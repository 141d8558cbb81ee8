// The string-rewriting window as a registered tool: launch row, batch
// options and the SRFEDIT form.
#include "tools/curves/curves_tool.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "tools/curves/tbmpwin.h"
#include "tools/curves/tsrfwin.h"

#include <cctype>
#include <cstdio>

namespace qx {

namespace {

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// SRFEDIT ("string-replacement data"): the initial string, the replacement of
// each rewritable character, the lengths of E..K, sectors or turn size, and
// the initial direction.
class StringsForm final : public DialogForm {
public:
    explicit StringsForm(TSRFWin& win) : win_(win) {}
    std::string name() const override { return "SRFEDIT"; }
    std::string title() const override { return "string-replacement data"; }
    FormState load() const override
    {
        const RewritingData& d = win_.data();
        FormState s;
        s.fields.push_back({"initial string", d.initial, true});
        for (char c : kRewritable)
            s.fields.push_back({std::string(1, c) + " ==>", d.replacement[static_cast<size_t>(c)], true});
        for (int i = 0; i < 7; ++i) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.15Lg", d.lengths[static_cast<size_t>(i)]);
            s.fields.push_back({std::string("length of ") + static_cast<char>('E' + i), buf, true});
        }
        const int first = static_cast<int>(s.fields.size());
        s.fields.push_back({"[ 3 ... 360 ]", d.degreeMode() ? "6" : std::to_string(d.n), true});
        s.fields.push_back({"deg   [ 1 ... 359 ]", d.degreeMode() ? std::to_string(d.n) : "60", true});
        s.fields.push_back({"initial direction =", std::to_string(d.direction), true});
        s.choices = {{"sectors =", true, first}, {"turn size =", true, first + 1}};
        s.chosen = d.degreeMode() ? 1 : 0;
        return s;
    }
    int apply(const std::vector<std::string>& texts, int chosen) override
    {
        const size_t fields = 1 + kRewritable.size() + 7 + 3;
        if (texts.size() != fields)
            return ErrInconsistentData;
        RewritingData d = win_.data();
        size_t i = 0;
        d.initial = texts[i++];
        for (char c : kRewritable)
            d.replacement[static_cast<size_t>(c)] = texts[i++];
        for (Real& l : d.lengths)
            if (!parseRealText(texts[i++], l))
                return ErrCannotUnderstand;
        const bool degrees = chosen == 1;
        int32_t sectors = 0, turn = 0, direction = 0;
        if (!parseIntText(texts[i], sectors) || !parseIntText(texts[i + 1], turn) ||
            !parseIntText(texts[i + 2], direction))
            return ErrCannotUnderstand;
        const int32_t n = degrees ? turn : sectors;
        if (n < 1 || n > 360 || direction < -32768 || direction > 32767)
            return ErrInconsistentData;
        d.mode = static_cast<int16_t>((d.mode & ~1) | (degrees ? 1 : 0));
        d.n = static_cast<int16_t>(n);
        d.direction = static_cast<int16_t>(direction);
        return win_.applyData(d);
    }

private:
    TSRFWin& win_;
};

int applyOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TSRFWin&>(base);
    if (const std::string* e = batchOptionValue(values, "--example")) {
        // The name, its id, or the start of one name only ("gosper").
        int command = 0, starts = 0, startCommand = 0;
        for (const CurvePreset& p : curvePresets()) {
            if (lower(p.name) == lower(*e) || std::to_string(p.command) == *e)
                command = p.command;
            if (lower(p.name).rfind(lower(*e), 0) == 0 && ++starts == 1)
                startCommand = p.command;
        }
        if (!command && starts == 1)
            command = startCommand;
        if (!win.applyPreset(command)) {
            std::string names;
            for (const CurvePreset& p : curvePresets())
                names += std::string(names.empty() ? "" : ", ") + p.name;
            error = "--example takes one of: " + names;
            return 2;
        }
    }
    if (batchOptionValue(values, "--random"))
        win.randomCurve();
    if (const std::string* g = batchOptionValue(values, "--generation")) {
        int32_t n = 0;
        if (!parseIntText(*g, n) || n < 0 || n > 1000) {
            error = "--generation takes 0 .. 1000";
            return 2;
        }
        while (win.generation() < n) {
            const int before = win.generation();
            if (!win.next())
                break;
            win.finishSideJob();
            if (win.generation() == before) {
                error = "error 4: " + messageText(4) + " (generation " + std::to_string(before + 1) +
                        " would pass " + std::to_string(kMaxCurveString) + " characters)";
                return 1;
            }
        }
    }
    if (batchOptionValue(values, "--box-count")) {
        if (!win.startBoxCount()) {
            error = "nothing to count";
            return 1;
        }
        win.finishSideJob();
        std::fputs(win.reportWithEstimate().c_str(), stdout);
    }
    return 0;
}

std::string describe(const TVorlWin& base)
{
    const auto& win = dynamic_cast<const TSRFWin&>(base);
    return "kind: srf (" + std::to_string(kSrfKind) + ")\ngeneration: " + std::to_string(win.generation()) +
           "\ncharacters: " + std::to_string(win.currentString().size()) + "\n" + win.summary();
}

int applyDimensionOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TBMPWin&>(base);
    if (const std::string* path = batchOptionValue(values, "--image"))
        if (const int e = win.loadFile(*path)) {
            error = "error " + std::to_string(e) + ": " + messageText(e) + " (--image " + *path + ")";
            return 1;
        }
    if (batchOptionValue(values, "--box-count")) {
        if (!win.startBoxCount()) {
            error = "--box-count needs a picture (--image FILE)";
            return 2;
        }
        win.finishSideJob();
        std::fputs(win.reportWithEstimate().c_str(), stdout);
    }
    return 0;
}

} // namespace

const ToolDescriptor& dimensionTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 411;
        t.batchName = "dim";
        t.title = "box-counting dimension of a picture";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TBMPWin>()); };
        t.batchOptions = {
            {"--image", "FILE", "(dim) the picture to count, a Windows bitmap or PNG"},
            {"--box-count", "", "count boxes and print the report (dim: the picture, srf: the curve)"},
        };
        t.applyBatchOptions = applyDimensionOptions;
        t.batchExamples = "quorvex-batch render --tool dim --image fern.bmp --box-count -o fern.png\n";
        return t;
    }();
    return d;
}

const ToolDescriptor& stringRewritingTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 410;
        t.batchName = "srf";
        t.title = "string-rewriting curves";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TSRFWin>()); };
        t.documentKind = kSrfKind;
        t.batchOptions = {
            {"--example", "NAME", "(srf) a curve of the library: Dragon, Hilbert, Sierpinski, von Koch island,\n"
                                  "Gosper island, Bush, ... (case does not matter)"},
            {"--generation", "N", "rewrite N times (default 0)"},
            {"--random", "", "the random polygonal curve"},
            {"--box-count", "", "count boxes and print the report (dim: the picture, srf: the curve)"},
        };
        t.applyBatchOptions = applyOptions;
        t.describe = describe;
        t.dialogForm = [](TVorlWin& base, const std::string& name) -> std::unique_ptr<DialogForm> {
            auto* w = dynamic_cast<TSRFWin*>(&base);
            if (!w || name != "SRFEDIT")
                return nullptr;
            return std::make_unique<StringsForm>(*w);
        };
        t.batchExamples = "quorvex-batch render --tool srf --example dragon --generation 12 -o dragon.png\n";
        return t;
    }();
    return d;
}

} // namespace qx
