#include "base/numeric.h"
#include "base/messages.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(RoundHalfDown, ExactHalvesGoTowardZero)
{
    EXPECT_EQ(roundHalfDown(2.5L), 2);
    EXPECT_EQ(roundHalfDown(-2.5L), -2);
    EXPECT_EQ(roundHalfDown(2.500001L), 3);
    EXPECT_EQ(roundHalfDown(-2.500001L), -3);
    EXPECT_EQ(roundHalfDown(0.49L), 0);
    EXPECT_EQ(roundHalfDown(-0.0L), 0);
}

TEST(RoundHalfDown, ClampsLargeMagnitudesAndNaN)
{
    EXPECT_EQ(roundHalfDown(2147483647.4L), 2147483647);
    EXPECT_EQ(roundHalfDown(2147483647.6L), 2147483647);
    EXPECT_EQ(roundHalfDown(1e30L), 2147483647);
    EXPECT_EQ(roundHalfDown(-1e30L), -2147483647);
    EXPECT_EQ(roundHalfDown(__builtin_nanl("")), 2147483647);
}

TEST(MessageTable, TextsAndDialogFieldCodes)
{
    EXPECT_EQ(messageText(1), "cannot understand");
    EXPECT_EQ(messageText(26), "file created");
    EXPECT_EQ(messageText(111), "editing in progress");
    EXPECT_EQ(messageText(108), "unbalanced brackets");
    // Dialog fields add 1000 or 2000; the text is the plain code's.
    EXPECT_EQ(messageText(1017), "out of bounds");
    EXPECT_EQ(messageText(2014), "positive value?");
    EXPECT_EQ(dialogField(2014), 2);
    EXPECT_EQ(dialogField(17), 0);
    EXPECT_EQ(baseCode(1001), 1);
    EXPECT_EQ(messageText(99), "error 99");
    EXPECT_STREQ(kDefaultCaption, "hmm ...");
}
