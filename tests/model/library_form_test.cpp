// The function library's entry rules and file records, and the letters the
// constant manager refuses per tool kind.
#include "expr/evaluator.h"
#include "model/library_form.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(FunctionLibraryEntry, ChecksInOrderAndExpansion)
{
    ExprContext cx(false);
    ASSERT_EQ(enterUserFunction(cx, "f", 1, "uu"), 0);
    ASSERT_EQ(enterUserFunction(cx, "G", 1, "f(u)+1"), 0);
    EXPECT_EQ(libraryLine(cx.library.functions[1]), "G(U) = F(U)+1");
    TreePtr t;
    ASSERT_EQ(CompileExpression(cx, "g(3)", t), 0);
    ASSERT_TRUE(EvaluateTree(cx.env, *t));
    EXPECT_EQ(t->value.re, 10);
    // Each refusal leaves the library as it was.
    EXPECT_EQ(enterUserFunction(cx, "", 1, "u"), 1024);
    EXPECT_EQ(enterUserFunction(cx, "ABCDEFGHIJ", 1, "u"), 1116);
    EXPECT_EQ(enterUserFunction(cx, "F2", 1, "u"), 1144);
    EXPECT_EQ(enterUserFunction(cx, "H", 1, ""), 2024);
    EXPECT_EQ(enterUserFunction(cx, "H", 1, std::string(61, 'u')), 2116);
    EXPECT_EQ(enterUserFunction(cx, "sin", 1, "u"), 1122);
    EXPECT_EQ(enterUserFunction(cx, "F", 1, "u"), 1122); // a library name when adding
    EXPECT_EQ(enterUserFunction(cx, "H", 1, "u+"), 2006);
    EXPECT_EQ(enterUserFunction(cx, "ABC", 1, "ABS(U"), 2108);
    EXPECT_EQ(cx.library.functions.size(), 2u);
    // Editing replaces in place, under the same name.
    ASSERT_EQ(enterUserFunction(cx, "F", 2, "u+v", 0), 0);
    EXPECT_EQ(libraryLine(cx.library.functions[0]), "F(U,V) = U+V");
    EXPECT_EQ(cx.library.functions.size(), 2u);
}

TEST(FunctionLibraryRecords, RoundTripAndRefusals)
{
    FunctionLibrary lib;
    lib.functions = {{"F", "UU", 1}, {"LONGNAMEX", std::string(60, 'V'), 3}};
    ByteWriter w;
    encodeLibrary(w, lib);
    ASSERT_EQ(w.data().size(), 2u + 2 * 77);
    FunctionLibrary back;
    ByteReader r(w.data());
    ASSERT_TRUE(decodeLibrary(r, back));
    ASSERT_EQ(back.functions.size(), 2u);
    EXPECT_EQ(back.functions[1].definition, lib.functions[1].definition);
    EXPECT_EQ(back.functions[1].arity, 3);
    for (size_t n = 0; n < w.data().size(); ++n) {
        ByteReader cut(w.data().data(), n);
        FunctionLibrary keep = back;
        EXPECT_FALSE(decodeLibrary(cut, keep)) << n;
        EXPECT_EQ(keep.functions.size(), 2u); // unchanged on failure
    }
    std::vector<uint8_t> bytes = w.data();
    bytes[2 + 61 + 10] = 7; // arity 7 reads as 1
    ByteReader odd(bytes);
    ASSERT_TRUE(decodeLibrary(odd, back));
    EXPECT_EQ(back.functions[0].arity, 1);
    bytes[2 + 61] = '3'; // a name that is not letters
    ByteReader bad(bytes);
    EXPECT_FALSE(decodeLibrary(bad, back));
}

TEST(ConstantManager, LettersRefusedByKind)
{
    for (int letter = 1; letter <= 23; ++letter)
        EXPECT_FALSE(constantLetterRefused(0, letter, letter, true));
    EXPECT_TRUE(constantLetterRefused(0, 24, 1, false)); // X is a coordinate
    EXPECT_TRUE(constantLetterRefused(1, 1, 5, false));
    EXPECT_TRUE(constantLetterRefused(1, 2, 5, false));
    EXPECT_FALSE(constantLetterRefused(1, 3, 5, false));
    EXPECT_TRUE(constantLetterRefused(2, 3, 5, false)); // C is the parameter
    EXPECT_FALSE(constantLetterRefused(3, 3, 5, false));
    EXPECT_TRUE(constantLetterRefused(3, 9, 5, false)); // I is the imaginary unit
    EXPECT_TRUE(constantLetterRefused(3, 4, 4, true));  // the same letter twice
    EXPECT_FALSE(constantLetterRefused(3, 4, 4, false));
}
