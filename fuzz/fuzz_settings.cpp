// Settings reader: any bytes give a code, and whatever was read writes back
// and reads again to the same record.
#include "model/settings_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    qx::SettingsFile s;
    s.header.kind = 729;
    const int e = qx::decodeSettings(bytes, 729, s);
    if (e != 0 && e != 6 && e != 8 && e != 21)
        std::abort();
    const std::vector<uint8_t> once = qx::encodeSettings(s);
    qx::SettingsFile again;
    if (qx::decodeSettings(once, 729, again) != 0)
        std::abort();
    if (qx::encodeSettings(again) != once)
        std::abort();
    return 0;
}
