#include "registry/launch_table.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(DispatchByExtension, OpensTheToolOfAThreeLetterExtension)
{
    EXPECT_EQ(dispatchByExtension("/home/u/picture.man").row, kRowMandelbrot);
    EXPECT_EQ(dispatchByExtension("a.b/Picture.JUL").row, kRowJulia);
    EXPECT_EQ(dispatchByExtension("old.par").row, 2); // the complex parameter plane
    EXPECT_EQ(dispatchByExtension("new.ppc").row, 2);
    EXPECT_EQ(dispatchByExtension("x.dim").row, 12);  // the Dimension tool
    EXPECT_EQ(dispatchByExtension("x.lya").row, 4);
    EXPECT_EQ(dispatchByExtension("My Pictures/x y.Dyc").row, kRowComplexDynamicPlane);
    EXPECT_EQ(dispatchByExtension("x.dim").kind, Dispatch::Tool);
}

TEST(DispatchByExtension, IgnoresUnknownShortLongAndMissingExtensions)
{
    for (const char* path : {"x.bmp", "x.txt", "x.jpeg", "x.ma", "noextension", "", ".", "dir.man/file",
                             "x.man ", "x."})
        EXPECT_EQ(dispatchByExtension(path).kind, Dispatch::Ignore) << path;
}

TEST(DispatchByExtension, SlideAndPrintFilesGoToTheirViewers)
{
    EXPECT_EQ(dispatchByExtension("show.sli").kind, Dispatch::SlideViewer);
    EXPECT_EQ(dispatchByExtension("page.Prn").kind, Dispatch::PrinterViewer);
}

TEST(LaunchTable, CommandsNamesAndKeys)
{
    EXPECT_EQ(rowOfCommand(401), 0);
    EXPECT_EQ(rowOfCommand(412), 3);
    EXPECT_EQ(rowOfCommand(411), 12);
    EXPECT_EQ(rowOfCommand(48), -1);
    EXPECT_EQ(newWindowTitle(kRowMandelbrot, 0), "noname1.man");
    EXPECT_EQ(newWindowTitle(12, 4), "noname5.bmp");
    EXPECT_STREQ(kLaunchTable[4].key, ""); // Lyapunov has no key
    // Every command id and every key appears once.
    for (int a = 0; a < kToolRows; ++a)
        for (int b = a + 1; b < kToolRows; ++b) {
            EXPECT_NE(kLaunchTable[a].command, kLaunchTable[b].command);
            if (*kLaunchTable[a].key) {
                EXPECT_STRNE(kLaunchTable[a].key, kLaunchTable[b].key);
            }
        }
}

TEST(JoinArguments, RebuildsAPathSplitAtBlanks)
{
    const char* argv[] = {"quorvex", "/home/me/My", "Pictures/a", "b.man"};
    EXPECT_EQ(joinArguments(4, argv), "/home/me/My Pictures/a b.man");
    EXPECT_EQ(joinArguments(1, argv), "");
    EXPECT_EQ(joinArguments(2, argv), "/home/me/My");
}
