#include "model/library_form.h"

#include "expr/names.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace qx {

namespace {

constexpr size_t kDefinitionBytes = 61;
constexpr size_t kNameBytes = 10;
constexpr size_t kMaxDefinition = 60;
constexpr size_t kMaxName = 9;

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool letters(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

} // namespace

int enterUserFunction(ExprContext& cx, const std::string& nameText, int arity, const std::string& definitionText,
                      int editing)
{
    const std::string name = upper(nameText), definition = upper(definitionText);
    if (name.empty())
        return 1024;
    if (name.size() > kMaxName)
        return 1116;
    if (!letters(name))
        return 1144;
    if (definition.empty())
        return 2024;
    if (definition.size() > kMaxDefinition)
        return 2116;
    auto& functions = cx.library.functions;
    const bool adding = editing < 0 || editing >= static_cast<int>(functions.size());
    if (adding) {
        const bool taken = lookupName(name, true) != 0 || lookupName(name, false) != 0 ||
                           std::any_of(functions.begin(), functions.end(),
                                       [&](const UserFunction& f) { return f.name == name; });
        if (taken)
            return 1122;
    }
    TreePtr tree;
    if (const int e = CompileExpression(cx, definition, tree))
        return 2000 + e;
    const UserFunction f{name, definition, std::clamp(arity, 1, 3)};
    if (adding)
        functions.push_back(f);
    else
        functions[static_cast<size_t>(editing)] = f;
    return 0;
}

std::string libraryLine(const UserFunction& f)
{
    static constexpr std::array<const char*, 3> kParameters{"(U) = ", "(U,V) = ", "(U,V,W) = "};
    return f.name + kParameters[static_cast<size_t>(std::clamp(f.arity, 1, 3) - 1)] + f.definition;
}

void encodeLibrary(ByteWriter& w, const FunctionLibrary& library)
{
    w.u16(static_cast<uint16_t>(library.functions.size()));
    for (const UserFunction& f : library.functions) {
        w.fixedText(f.definition, kDefinitionBytes);
        w.fixedText(f.name, kNameBytes);
        w.i16(static_cast<int16_t>(f.arity));
        w.u32(0);
    }
}

bool decodeLibrary(ByteReader& r, FunctionLibrary& library)
{
    uint16_t count = 0;
    if (!r.u16(count))
        return false;
    FunctionLibrary next;
    for (uint16_t i = 0; i < count; ++i) {
        std::array<char, kDefinitionBytes> def{};
        std::array<char, kNameBytes> name{};
        int16_t arity = 0;
        uint32_t link = 0;
        if (!r.bytes(def.data(), def.size()) || !r.bytes(name.data(), name.size()) || !r.i16(arity) || !r.u32(link))
            return false;
        if (std::find(def.begin(), def.end(), 0) == def.end() || std::find(name.begin(), name.end(), 0) == name.end())
            return false;
        UserFunction f{name.data(), def.data(), arity >= 1 && arity <= 3 ? arity : 1};
        if (f.name.empty() || !letters(f.name))
            return false;
        next.functions.push_back(std::move(f));
    }
    library = std::move(next);
    return true;
}

bool constantLetterRefused(int kind, int letter, int otherLetter, bool pairMode)
{
    if (letter < kFirstConstantLetter || letter > kLastConstantLetter)
        return true;
    switch (kind) {
    case 1: return letter == 1 || letter == 2;
    case 2:
    case 3:
        if (letter == 9 || (pairMode && letter == otherLetter))
            return true;
        return kind == 2 && letter == 3;
    default: return false;
    }
}

} // namespace qx
