#pragma once
// The layer that will hold the expression compiler state, the variable
// table and the user functions of a window. It adds nothing yet; it keeps
// its place in the chain so the layers above need not change later.
#include "model/tkvawinm.h"

namespace qx {

class TFuncWin : public TKVAWinm {
};

} // namespace qx
