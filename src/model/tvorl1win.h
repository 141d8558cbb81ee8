#pragma once
// Adds the Settings and Constants commands (524, 590) and the small
// per-tool setting record.
#include "model/tvorlwin.h"

namespace qx {

struct ToolSettingRecord {
    int32_t count = 3;
    int32_t secondCount = 0;
    bool flag = false;
};

class TVorl1Win : public TVorlWin {
public:

    // "Settings ..." and "Constants ...": tools show their dialogs; the base
    // has nothing to set and reports 9 (nothing to do).
    virtual void settingsCommand();
    virtual void constantsCommand();
    // Tool-specific document hook (documents arrive with the file layer).
    virtual void documentHook() {}

    ToolSettingRecord& settingRecord() { return record_; }

protected:
    void declareCommands(CommandSet& set) override;
    ToolSettingRecord record_;
};

} // namespace qx
