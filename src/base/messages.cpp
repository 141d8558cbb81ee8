#include "base/messages.h"

#include <array>
#include <utility>

namespace qx {

namespace {

// Code and text, in code order. Codes 108, 116, 122 and 144 come from the
// expression compiler and the function library.
constexpr std::array<std::pair<int, const char*>, 37> kMessages{{
    {1, "cannot understand"},
    {2, "could not find"},
    {3, "low memory...trouble!"},
    {4, "no more room"},
    {5, "no graphics on clipboard"},
    {6, "inconsistent data"},
    {7, "ini file not saved"},
    {8, "incompatible versions!"},
    {9, "nothing to do"},
    {10, "nothing to show"},
    {11, "cannot open file"},
    {12, "cannot save file"},
    {13, "kitchen closed today"},
    {14, "positive value?"},
    {15, "make a selection"},
    {16, "tick interval changed"},
    {17, "out of bounds"},
    {18, "cannot edit this"},
    {19, "cannot copy this"},
    {20, "too large"},
    {21, "bad ini file"},
    {22, "image gone when window closed"},
    {23, "select two"},
    {24, "missing data"},
    {25, "need at least one"},
    {26, "file created"},
    {101, "too many arguments"},
    {102, "multiple images"},
    {103, "not a prn file"},
    {104, "duplicate colors"},
    {105, "slides in the list"},
    {106, "too small"},
    {108, "unbalanced brackets"},
    {111, "editing in progress"},
    {116, "name too long"},
    {122, "name already in use"},
    {144, "name must be alphabetic"},
}};

} // namespace

int dialogField(int code)
{
    return (code >= 1000 && code < 3000) ? code / 1000 : 0;
}

int baseCode(int code)
{
    return dialogField(code) ? code % 1000 : code;
}

std::string messageText(int code)
{
    const int base = baseCode(code);
    for (const auto& [c, text] : kMessages)
        if (c == base)
            return text;
    return "error " + std::to_string(base);
}

} // namespace qx
