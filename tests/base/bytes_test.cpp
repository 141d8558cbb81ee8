// Fixed text fields: what the writer stores reads back, and a field filled to
// its end without a terminator reads as the writer would store it, so a
// document read and written again reads the same.
#include "base/bytes.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(FixedText, AFieldWithoutItsTerminatorKeepsWhatTheWriterKeeps)
{
    ByteWriter w;
    w.fixedText("abc", 5);
    w.fixedText("abcdefgh", 5); // cut to 4 characters and the terminator
    ASSERT_EQ(w.data().size(), 10u);
    ByteReader r(w.data());
    std::string a, b;
    ASSERT_TRUE(r.fixedText(5, a));
    ASSERT_TRUE(r.fixedText(5, b));
    EXPECT_EQ(a, "abc");
    EXPECT_EQ(b, "abcd");
    const std::vector<uint8_t> full{'w', 'x', 'y', 'z', 'q'};
    ByteReader f(full);
    std::string c;
    ASSERT_TRUE(f.fixedText(5, c));
    EXPECT_EQ(c, "wxyz");
    ByteWriter again;
    again.fixedText(c, 5);
    ByteReader g(again.data());
    std::string d;
    ASSERT_TRUE(g.fixedText(5, d));
    EXPECT_EQ(d, c);
}
