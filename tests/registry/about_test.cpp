#include "registry/about.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(AboutBox, TitleCarriesTheVersion)
{
    EXPECT_EQ(aboutTitle(), "about Quorvex [v 1.13]");
}

TEST(AboutBox, CompileDateLineNamesTheMonth)
{
    EXPECT_EQ(compileDateLine("Dec  6 2026"), "version compiled 6 December 2026");
    EXPECT_EQ(compileDateLine("Jan 31 2027"), "version compiled 31 January 2027");
    EXPECT_EQ(compileDateLine("Sep 10 2026"), "version compiled 10 September 2026");
    // Unreadable dates keep the plain words rather than printing garbage.
    EXPECT_EQ(compileDateLine("anF 1 2026"), "version compiled");
    EXPECT_EQ(compileDateLine(""), "version compiled");
    EXPECT_EQ(compileDateLine(nullptr), "version compiled");
    EXPECT_NE(aboutText("Dec  6 2026").find("\nversion compiled 6 December 2026\n"), std::string::npos);
}
