#include "model/tkvawing.h"

#include "model/command_ids.h"
#include "base/real_text.h"
#include "base/messages.h"

#include <array>
#include <cstdio>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kCmdTexSetup = 377;
constexpr std::array<CommandSpec, 6> kCommands{{
    {CmdView, "&View ...", "", K::Plain, kMenuView, ""},
    {CmdZoomOut, "Zoom &out", "PgDown", K::Plain, kMenuView, ""},
    {CmdZoomIn, "Zoom &in", "PgUp", K::Plain, kMenuView, ""},
    {CmdZoomFactor, "Zoom &factor ...", "", K::Plain, kMenuView, ""},
    {CmdShift, "&Shift ...", "", K::Plain, kMenuView, ""},
    {CmdLastWindow, "&Last window", "Backspace", K::Plain, kMenuView, ""},
}};

} // namespace

int TKVAWing::setSvgSize(int width, int height)
{
    if ((width != 0 || height != 0) && (width < 10 || height < 10 || width > 30000 || height > 30000))
        return ErrOutOfBounds;
    svgWidth_ = width;
    svgHeight_ = height;
    return 0;
}

int TKVAWing::setTexSettings(int kind, int box, Real widthCm)
{
    if (kind < 0 || kind > 3 || box < 0 || box > 255 || !(widthCm > 0 && widthCm <= 1000))
        return ErrOutOfBounds;
    texKind_ = kind;
    texBox_ = box;
    texWidthCm_ = widthCm;
    return 0;
}

int TKVAWing::setTexWhitespace(Real factor)
{
    if (!(factor >= 0 && factor <= 10))
        return ErrOutOfBounds;
    texWhitespace_ = factor;
    return 0;
}

TKVAWing::TKVAWing() : palette_(defaultPalette())
{
    view_.recomputeView();
}

void TKVAWing::declareCommands(CommandSet& set)
{
    for (const char* title : {kMenuFile, kMenuEdit, kMenuBtns, kMenuView, kMenuMisc})
        set.addMenu(title);
    // One item per export format, from the format table.
    for (const ExportFormat& f : formats_->rows())
        set.add({f.command, f.menuText, "", K::Plain, kMenuFile, "E&xport"}, [this, &f] { exportCommand(f); });
    set.add({kCmdTexSetup, "PiCTeX &setup ...", "", K::Plain, kMenuFile, "E&xport"}, [this] {
        char width[32];
        std::snprintf(width, sizeof width, "%.3Lg", texWidthCm_);
        std::vector<std::string> v{width, std::to_string(texBox_), std::to_string(texKind_)};
        if (!host().inputMany("PiCTeX setup",
                              {"width (cm)", "box number",
                               "kind (0 TeX standalone, 1 LaTeX2e standalone, 2 TeX compilable, 3 TeX insertable)"},
                              v))
            return;
        Real w = 0;
        int32_t box = 0, kind = 0;
        if (!parseRealText(v[0], w) || !parseIntText(v[1], box) || !parseIntText(v[2], kind)) {
            host().showError(ErrCannotUnderstand);
            return;
        }
        if (const int e = setTexSettings(kind, box, w))
            host().showError(e);
    });
    set.add(kCommands[0], [this] { viewCommandDialog(); });
    set.add(kCommands[1], [this] { zoomOut(); });
    set.add(kCommands[2], [this] { zoomIn(); });
    set.add(kCommands[3], [this] { zoomFactorCommand(); });
    set.add(kCommands[4], [this] { shiftCommand(); });
    set.add(kCommands[5], [this] {
        if (!lastWindow())
            host().showError(9);
    });
}

void TKVAWing::declareHelp(CommandSet& set, int firstId, std::span<const HelpPage> pages)
{
    int id = firstId;
    for (const HelpPage& page : pages) {
        std::string title = page.menu;
        std::erase(title, '&');
        title = "help: " + title;
        set.add({id++, page.menu, "", K::Plain, kMenuHelp, ""}, [this, title, text = std::string(page.text)] {
            if (!host().showTextWindow(title, text))
                host().showMessage(text, title);
        });
    }
}

const CommandSet& TKVAWing::commands() const
{
    if (!commands_) {
        commands_ = std::make_unique<CommandSet>();
        const_cast<TKVAWing*>(this)->declareCommands(*commands_);
    }
    return *commands_;
}

MenuBar TKVAWing::menuBar() const
{
    return commands().menuBar();
}

bool TKVAWing::isChecked(int id) const
{
    const BoundCommand* c = commands().find(id);
    return c && c->checked && c->checked();
}

bool TKVAWing::handleCommand(int id)
{
    const BoundCommand* c = commands().find(id);
    if (!c)
        return false;
    const bool checkable = c->spec.kind != K::Plain;
    c->run();
    if (checkable && attached())
        host().menuChecksChanged();
    return true;
}

void TKVAWing::zoomFactorCommand()
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.10Lg", zoomStep_);
    std::string text = buf;
    if (host().inputText("zoom factor", text))
        if (const int e = setZoomStep(text))
            host().showError(e);
}

void TKVAWing::shiftCommand()
{
    std::string h = "0", v = "0";
    if (host().inputTwo("hori", h, "vert", v))
        if (const int e = shiftBy(h, v))
            host().showError(e);
}

void TKVAWing::recomputeView()
{
    view_.recomputeView();
}

void TKVAWing::resize(int width, int height)
{
    view_.setPixelSize(width, height);
    recomputeView();
}

// The modeless VIEWCEN/VIEWCOR dialog when the host has it, else a modal
// many-field input with the same texts and rules.
void TKVAWing::viewCommandDialog()
{
    if (host().showModelessDialog(view_.byCorners ? "VIEWCOR" : "VIEWCEN"))
        return;
    int e = 0;
    if (view_.byCorners) {
        const ViewCornerTexts t = currentViewCornerTexts();
        std::vector<std::string> v{t.left, t.right, t.down, t.up};
        if (!host().inputMany("view", {"left", "right", "down", "up"}, v) || v.size() != 4)
            return;
        e = applyViewByCorners({v[0], v[1], v[2], v[3]});
    } else {
        const ViewCenterTexts t = currentViewCenterTexts();
        std::vector<std::string> v{t.hori, t.vert, t.width};
        if (!host().inputMany("view", {"hori", "vert", "width"}, v) || v.size() != 3)
            return;
        e = applyViewByCenter({v[0], v[1], v[2]});
    }
    if (e)
        host().showError(e);
}

int TKVAWing::applyViewByCenter(const ViewCenterTexts& texts)
{
    Real cx, cy, w;
    if (const int e = parseViewByCenter(texts, cx, cy, w))
        return e;
    return changeView([&](View& v) { return v.setViewByCenter(cx, cy, w); }) ? 0 : 17;
}

int TKVAWing::applyViewByCorners(const ViewCornerTexts& texts)
{
    WorldRect r;
    if (const int e = parseViewByCorners(texts, r))
        return e;
    return changeView([&](View& v) { return v.setViewByCorners(r.left, r.right, r.down, r.up); }) ? 0 : 17;
}

int TKVAWing::setZoomStep(const std::string& text)
{
    Real f;
    if (!parseRealText(text, f))
        return 1;
    if (!(f > 1) || f > 1e6L)
        return 17;
    zoomStep_ = f;
    return 0;
}

int TKVAWing::shiftBy(const std::string& horiText, const std::string& vertText)
{
    Real sx, sy;
    if (!parseRealText(horiText, sx))
        return 1;
    if (!parseRealText(vertText, sy))
        return 1001;
    return changeView([&](View& v) { return shiftView(v, sx, sy); }) ? 0 : 17;
}

void TKVAWing::zoomOut()
{
    changeView([&](View& v) { return scaleView(v, zoomStep_); });
}

void TKVAWing::zoomIn()
{
    changeView([&](View& v) { return scaleView(v, 1 / zoomStep_); });
}

bool TKVAWing::lastWindow()
{
    if (!history_.pop(view_))
        return false;
    recomputeView();
    viewChanged();
    return true;
}

bool TKVAWing::setView(Real cx, Real cy, Real halfWidth)
{
    return view_.setViewByCenter(cx, cy, halfWidth);
}

} // namespace qx
