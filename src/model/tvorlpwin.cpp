#include "model/tvorlpwin.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 2> kCommands{{
    {CmdCompressPixels, "&Compress pixels", "", CommandKind::Toggle, kMenuFile, "&Disk image"},
    {CmdOrbitLength, "&Length of orbit ...", "", CommandKind::Plain, kMenuMisc, ""},
}};

} // namespace

void TVorlPWin::declareCommands(CommandSet& set)
{
    TVorl1Win::declareCommands(set);
    set.add(kCommands[0], [this] { compress_ = !compress_; }, [this] { return compress_; });
    set.add(kCommands[1], [this] {
        std::string text = std::to_string(orbitLength_);
        if (host().inputText("length of orbit", text))
            if (const int e = setOrbitLength(text))
                host().showError(e);
    });
}

} // namespace qx
