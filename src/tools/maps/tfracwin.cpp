#include "tools/maps/tfracwin.h"

#include "model/command_ids.h"

namespace qx {

namespace {

constexpr int kCmdMapping = 539;
constexpr int kCmdFunctions = 589;
constexpr size_t kTitleLength = 50;

} // namespace

TFrac0Win::TFrac0Win(bool complexTool, bool dynamicPlane) : complex_(complexTool), dynamic_(dynamicPlane)
{
    setComplexMode(complexTool);
}

TFracWin::TFracWin(bool complexTool, bool dynamicPlane) : TFrac0Win(complexTool, dynamicPlane)
{
    methodTexts_.fill("zzz-2z+2");
}

void TFracWin::copyDrawingSettings(const TKVAWing& from)
{
    if (const auto* f = dynamic_cast<const TFracWin*>(&from)) {
        methodTexts_ = f->methodTexts_;
        mapping_ = f->mapping_;
        map_ = CopyTree(f->map_.get());
    }
    TFrac0Win::copyDrawingSettings(from); // the targets compile with the parent's constants
}

int TFracWin::setMapping(const std::string& text)
{
    const std::string t = withoutBlanks(text);
    if (t == mapping_ && map_)
        return 0;
    CompiledMapping m;
    if (const int e = compileMapping(cx_, t, dynamicPlane(), m))
        return e;
    if (m.method >= 0)
        methodTexts_[static_cast<size_t>(m.method)] = m.argument;
    mapping_ = t;
    map_ = std::move(m.map);
    if (attached()) {
        restoreTitle();
        draw();
    }
    return 0;
}

int TFracWin::solve(RootMethod m, const std::string& p)
{
    const std::string arg = withoutBlanks(p);
    CompiledMapping c;
    if (const int e = compileMapping(cx_, std::string(rootKeyword(m)) + arg + "=0)", dynamicPlane(), c))
        return e;
    methodTexts_[static_cast<size_t>(m)] = arg;
    mapping_ = std::string(rootKeyword(m)) + arg + " = 0)";
    map_ = std::move(c.map);
    if (attached()) {
        restoreTitle();
        draw();
    }
    return 0;
}

std::string TFracWin::mappingTitle() const
{
    if (mapping_.size() <= kTitleLength)
        return mapping_;
    return mapping_.substr(0, kTitleLength) + " ...";
}

void TFracWin::mappingCommand()
{
    std::string text = mapping_;
    if (!host().inputText(complexTool() ? "f(z) =" : "f(x,y) =", text))
        return;
    if (const int e = setMapping(text.substr(0, 255)))
        host().showError(e);
}

void TFracWin::declareCommands(CommandSet& set)
{
    TFrac0Win::declareCommands(set);
    set.add({kCmdMapping, "&Mapping ...", "Ctrl+M", CommandKind::Plain, kMenuEdit, "", true},
            [this] { mappingCommand(); });
    set.add({kCmdFunctions, "&Functions ...", "", CommandKind::Plain, kMenuEdit, ""}, [this] {
        if (!host().showModelessDialog("FNLIB"))
            host().showMessage(std::to_string(library().functions.size()) + " user-defined functions",
                               "user-defined functions");
    });
}

} // namespace qx
