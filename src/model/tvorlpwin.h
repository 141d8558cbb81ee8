#pragma once
// Adds print-image switches: "Compress pixels" (501) and "Length of
// orbit ..." (517). The row-buffer codes of every render are kept in
// rowCodes() for a print image.
#include "model/tvorl1win.h"

namespace qx {

class TVorlPWin : public TVorl1Win {
public:
    bool handleCommand(int id) override;
    void buildMenus(MenuBar& bar) const override;
    bool isChecked(int id) const override;
    static std::span<const CommandSpec> commandTable();

    bool compressPixels() const { return compress_; }
    // Colour tables go into documents here (layer above writes them).
    virtual void writeColourTables() {}

protected:
    bool compress_ = false;
};

} // namespace qx
