// The IFS windows as registered tools: launch rows, batch options and the
// forms of the inventory, the map dialogs and the reference triangle.
#include "tools/ifs/ifs_tool.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "tools/ifs/tifswin.h"

#include <cctype>
#include <cstdio>

namespace qx {

namespace {

std::string number(Real v)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.15Lg", v);
    return buf;
}

bool parseWeightColour(const std::string& w, const std::string& c, IfsMap& m)
{
    int32_t weight = 0, colour = 0;
    if (!parseIntText(w, weight) || !parseIntText(c, colour) || colour < 0 || colour > 60)
        return false;
    m.weight = static_cast<int16_t>(std::clamp(weight, -1, 1000));
    m.colour = static_cast<int16_t>(colour);
    return true;
}

// IFSINVEN ("ifs inventory"): a map of the list and what to do with it.
class InventoryForm final : public DialogForm {
public:
    explicit InventoryForm(TIfsWin& win) : win_(win) {}
    std::string name() const override { return "IFSINVEN"; }
    std::string title() const override { return "ifs inventory"; }
    FormState load() const override
    {
        std::vector<std::string> lines = win_.inventoryLines();
        if (lines.empty())
            lines.push_back("(no maps)");
        FormState s;
        const size_t at = std::min<size_t>(static_cast<size_t>(win_.editing()), lines.size() - 1);
        s.fields = {{"map", lines[at], false, FieldKind::List, lines},
                    {"do", "edit", false, FieldKind::Radio, {"edit", "delete", "new", "hide", "text"}}};
        return s;
    }
    int apply(const std::vector<std::string>& texts, int) override
    {
        if (texts.size() != 2)
            return ErrInconsistentData;
        int index = -1;
        const std::vector<std::string> lines = win_.inventoryLines();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i] == texts[0])
                index = static_cast<int>(i);
        const std::string& action = texts[1];
        if (action == "new") {
            if (win_.mapCount() >= kMaxIfsMaps)
                return ErrNoMoreRoom;
            win_.setEditing(win_.mapCount());
            return openEditor();
        }
        if (action == "text")
            return win_.showInventoryText() ? 0 : ErrNothingToDo;
        if (index < 0)
            return ErrNothingToDo;
        if (action == "delete")
            return win_.deleteMap(index);
        if (action == "hide") {
            win_.setMapVisible(index, !win_.maps()[static_cast<size_t>(index)].visible);
            return 0;
        }
        win_.setEditing(index);
        return openEditor();
    }

private:
    int openEditor() { return win_.openMapEditor() ? 0 : ErrNothingToDo; }
    TIfsWin& win_;
};

// IFCEDIT ("ifc edit"): z ---> text, or fixed point, dilation and angle; weight, colour.
class ComplexMapForm final : public DialogForm {
public:
    explicit ComplexMapForm(TIfcWin& win) : win_(win) {}
    std::string name() const override { return "IFCEDIT"; }
    std::string title() const override { return "ifc edit"; }
    FormState load() const override
    {
        const IfsMap m = win_.editedMap();
        FormState s;
        s.fields = {{"z --->", m.text},          {"fixed pt", m.fixedText},
                    {"dilation", m.dilationText}, {"rot angle", m.angleText},
                    {"weight", std::to_string(m.weight)}, {"color", std::to_string(m.colour)}};
        s.choices = {{"z --->", true, 0}, {"fixed pt", true, 1}};
        s.chosen = m.geometric ? 1 : 0;
        return s;
    }
    int apply(const std::vector<std::string>& t, int chosen) override
    {
        if (t.size() != 6)
            return ErrInconsistentData;
        IfsMap m = win_.editedMap();
        m.geometric = chosen == 1;
        m.text = t[0];
        m.fixedText = t[1];
        m.dilationText = t[2];
        m.angleText = t[3];
        if (!parseWeightColour(t[4], t[5], m))
            return ErrCannotUnderstand;
        return win_.setMap(win_.editing(), m);
    }

private:
    TIfcWin& win_;
};

// IFREDIT ("ifr edit"): new x and new y, or the image triangle; weight, colour.
class RealMapForm final : public DialogForm {
public:
    explicit RealMapForm(TIfrWin& win) : win_(win) {}
    std::string name() const override { return "IFREDIT"; }
    std::string title() const override { return "ifr edit"; }
    FormState load() const override
    {
        const IfsMap m = win_.editedMap();
        FormState s;
        s.fields = {{"new x", m.newX}, {"new y", m.newY}};
        const char* names[] = {"x1", "y1", "x2", "y2", "x3", "y3"};
        for (int k = 0; k < 6; ++k) {
            const WorldPoint p = m.image[static_cast<size_t>(k / 2)];
            s.fields.push_back({names[k], number(k % 2 ? p.y : p.x)});
        }
        s.fields.push_back({"weight", std::to_string(m.weight)});
        s.fields.push_back({"color", std::to_string(m.colour)});
        s.choices = {{"function text", true, -1}, {"coordinates of image triangle", true, -1}};
        s.chosen = m.byTriangle ? 1 : 0;
        return s;
    }
    int apply(const std::vector<std::string>& t, int chosen) override
    {
        if (t.size() != 10)
            return ErrInconsistentData;
        IfsMap m = win_.editedMap();
        m.byTriangle = chosen == 1;
        m.newX = t[0];
        m.newY = t[1];
        for (int k = 0; k < 6; ++k) {
            Real v = 0;
            if (m.byTriangle) {
                if (const int e = win_.evaluateRealConstant(t[static_cast<size_t>(2 + k)], v))
                    return e;
                WorldPoint& p = m.image[static_cast<size_t>(k / 2)];
                (k % 2 ? p.y : p.x) = v;
            }
        }
        if (!parseWeightColour(t[8], t[9], m))
            return ErrCannotUnderstand;
        return win_.setMap(win_.editing(), m);
    }

private:
    TIfrWin& win_;
};

// REFTRI ("collage reference triangle"): the six coordinates.
class ReferenceForm final : public DialogForm {
public:
    explicit ReferenceForm(TIfrWin& win) : win_(win) {}
    std::string name() const override { return "REFTRI"; }
    std::string title() const override { return "collage reference triangle"; }
    FormState load() const override
    {
        FormState s;
        const char* names[] = {"x1", "y1", "x2", "y2", "x3", "y3"};
        for (int k = 0; k < 6; ++k) {
            const WorldPoint p = win_.reference()[static_cast<size_t>(k / 2)];
            s.fields.push_back({names[k], number(k % 2 ? p.y : p.x), true});
        }
        return s;
    }
    int apply(const std::vector<std::string>& t, int) override
    {
        if (t.size() != 6)
            return ErrInconsistentData;
        Triangle tri{};
        for (int k = 0; k < 6; ++k) {
            Real v = 0;
            if (const int e = win_.evaluateRealConstant(t[static_cast<size_t>(k)], v))
                return e;
            WorldPoint& p = tri[static_cast<size_t>(k / 2)];
            (k % 2 ? p.y : p.x) = v;
        }
        win_.setReference(tri);
        return 0;
    }

private:
    TIfrWin& win_;
};

std::unique_ptr<DialogForm> ifsForm(TVorlWin& base, const std::string& name)
{
    auto* ifs = dynamic_cast<TIfsWin*>(&base);
    if (!ifs)
        return nullptr;
    if (name == "IFSINVEN")
        return std::make_unique<InventoryForm>(*ifs);
    if (auto* c = dynamic_cast<TIfcWin*>(ifs); c && name == "IFCEDIT")
        return std::make_unique<ComplexMapForm>(*c);
    if (auto* r = dynamic_cast<TIfrWin*>(ifs)) {
        if (name == "IFREDIT")
            return std::make_unique<RealMapForm>(*r);
        if (name == "REFTRI")
            return std::make_unique<ReferenceForm>(*r);
    }
    return nullptr;
}

struct NamedPreset {
    const char* name;
    int command;
};

template <typename Win>
int applyOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error,
                 std::initializer_list<NamedPreset> presets)
{
    auto& win = dynamic_cast<Win&>(base);
    if (const std::string* s = batchOptionValue(values, "--random-seed")) {
        int32_t seed = 0;
        if (!parseIntText(*s, seed) || seed < 0) {
            error = "--random-seed takes a whole number of at least 0";
            return 2;
        }
        win.setRandomSeed(static_cast<uint32_t>(seed));
    }
    if (const std::string* e = batchOptionValue(values, "--example")) {
        std::string lower;
        for (char c : *e)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        int command = 0;
        std::string names;
        for (const NamedPreset& p : presets) {
            if (lower == p.name)
                command = p.command;
            names += std::string(names.empty() ? "" : ", ") + p.name;
        }
        if (!win.applyPreset(command)) {
            error = "--example takes one of: " + names;
            return 2;
        }
    }
    if (const std::string* s = batchOptionValue(values, "--points"))
        if (const int e = win.setBatch(*s)) {
            error = "error " + std::to_string(e) + ": " + messageText(e) + " (--points)";
            return 1;
        }
    if (const std::string* s = batchOptionValue(values, "--sequence"))
        if (const int e = win.setSequence(*s)) {
            error = "error " + std::to_string(e) + ": " + messageText(e) + " (--sequence)";
            return 1;
        }
    return 0;
}

std::string describeIfs(const TVorlWin& base)
{
    const auto& win = dynamic_cast<const TIfsWin&>(base);
    const bool complex = dynamic_cast<const TIfcWin*>(&win) != nullptr;
    std::string t = std::string("kind: ") + (complex ? "ifc (" + std::to_string(kIfcKind) : "ifr (" + std::to_string(kIfrKind)) +
                    ")\nmaps: " + std::to_string(win.mapCount()) + "\n";
    for (size_t i = 0; i < win.maps().size(); ++i)
        t += win.inventoryLines()[i] + "   weight " + std::to_string(win.maps()[i].weight) + "\n";
    return t;
}

const std::vector<BatchOption>& ifsOptions()
{
    static const std::vector<BatchOption> o = {
        {"--example", "NAME", "(ifc) gasket, pentagon, flake, cantor, vonkoch, dragon;\n"
                              "(ifr) fern, twig, gasket, maze, vonkoch, dragon"},
        {"--points", "N", "points of the chaos game (default 32768)"},
        {"--sequence", "DIGITS", "maps applied in this order at each step instead of at random"},
        {"--random-seed", "N", "start the random numbers at N, so the picture repeats"},
    };
    return o;
}

} // namespace

const ToolDescriptor& complexIfsTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 406;
        t.batchName = "ifc";
        t.title = "complex IFS";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TIfcWin>()); };
        t.documentKind = kIfcKind;
        t.batchOptions = ifsOptions();
        t.applyBatchOptions = [](TVorlWin& w, const BatchOptionValues& v, std::string& e) {
            return applyOptions<TIfcWin>(w, v, e,
                                         {{"gasket", 554}, {"pentagon", 555}, {"flake", 553}, {"cantor", 564},
                                          {"vonkoch", 585}, {"dragon", 574}});
        };
        t.describe = describeIfs;
        t.dialogForm = ifsForm;
        t.batchExamples = "quorvex-batch render --tool ifc --example flake --points 200000 -o flake.png\n";
        return t;
    }();
    return d;
}

const ToolDescriptor& realIfsTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 407;
        t.batchName = "ifr";
        t.title = "real IFS";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TIfrWin>()); };
        t.documentKind = kIfrKind;
        t.batchOptions = ifsOptions();
        t.applyBatchOptions = [](TVorlWin& w, const BatchOptionValues& v, std::string& e) {
            return applyOptions<TIfrWin>(w, v, e,
                                         {{"fern", 557}, {"twig", 558}, {"gasket", 554}, {"maze", 559},
                                          {"vonkoch", 585}, {"dragon", 574}});
        };
        t.describe = describeIfs;
        t.dialogForm = ifsForm;
        t.batchExamples = "quorvex-batch render --tool ifr --example fern --points 500000 -o fern.png\n";
        return t;
    }();
    return d;
}

} // namespace qx
