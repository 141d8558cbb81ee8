#pragma once
// Adds print-image switches: "Compress pixels" (501) and "Length of
// orbit ..." (517). The row-buffer codes of every render are kept in
// rowCodes() for a print image.
#include "model/tvorl1win.h"

namespace qx {

class TVorlPWin : public TVorl1Win {
public:

    bool compressPixels() const { return compress_; }
    // Colour tables go into documents here (layer above writes them).
    virtual void writeColourTables() {}

protected:
    void declareCommands(CommandSet& set) override;
    bool compress_ = false;
};

} // namespace qx
