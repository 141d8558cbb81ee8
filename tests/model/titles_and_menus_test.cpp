#include "model/command_table.h"
#include "base/real_text.h"
#include "model/status_title.h"

#include <gtest/gtest.h>

using namespace qx;

// The kinds that are built from numbers; the plain ones are table entries.
TEST(StatusTitles, NumberedKinds)
{
    EXPECT_EQ(statusTitle(6, 12), "preparing slides -- please wait12; press Q to quit");
    EXPECT_EQ(statusTitle(11, 2, 5), "preparing slide 2/5");
    EXPECT_EQ(statusTitle(11, 2, 1), "preparing slide 2");
    EXPECT_EQ(statusTitle(11, -1, 5), "preparing slide ");
    EXPECT_EQ(statusTitle(12, 3, 7), "slide  3/7");
    EXPECT_EQ(statusTitle(0), "");
    EXPECT_EQ(statusTitle(15), "");
}

TEST(ProgressStep, ChangesOnlyWhenThePercentageMoves)
{
    EXPECT_EQ(progressStep(1, 3), 33);
    EXPECT_EQ(progressStep(2, 3), 66);
    EXPECT_EQ(progressStep(3, 3), -1);
    EXPECT_EQ(progressStep(0, 3), std::nullopt);
    EXPECT_EQ(progressStep(1, 300), std::nullopt); // p = 0
    // Every whole percent is shown once, whatever the row count.
    EXPECT_EQ(progressStep(3, 300), 1);
    EXPECT_EQ(progressStep(4, 300), std::nullopt);
    EXPECT_EQ(progressStep(6, 300), 2);
    EXPECT_EQ(progressStep(5, 1000), std::nullopt); // p = 0
    EXPECT_EQ(progressStep(20, 1000), 2);
    EXPECT_EQ(progressStep(21, 1000), std::nullopt);
    int shown = 0;
    for (int row = 1; row < 300; ++row)
        shown += progressStep(row, 300).has_value();
    EXPECT_EQ(shown, 99);
    // With more than 200 rows the last row's percentage can equal the one
    // before; the title is still put back.
    EXPECT_EQ(progressStep(400, 400), -1);
    EXPECT_EQ(progressStep(5, 0), std::nullopt);
    EXPECT_EQ(progressTitle(42), "progress: 42%");
}

TEST(MenuBarData, TablesBuildMenusSubmenusAndAccelerators)
{
    const CommandSpec table[] = {
        {10, "&Open", "Ctrl+O", CommandKind::Plain, "&File", ""},
        {11, "&Watch", "", CommandKind::Toggle, "&Misc", ""},
        {12, "Compress", "", CommandKind::Toggle, "&File", "&Disk image"},
        {13, "Reprint", "F9", CommandKind::Plain, "&File", "&Disk image", true},
        {14, "Close", "", CommandKind::Plain, "&File", "", true},
    };
    MenuBar bar;
    bar.addTable(table);
    ASSERT_EQ(bar.menus().size(), 2u);
    const Menu& file = bar.menus()[0];
    EXPECT_EQ(file.title, "&File");
    ASSERT_EQ(file.entries.size(), 4u); // Open, Disk image, separator, Close
    EXPECT_EQ(file.entries[1].type, MenuEntry::Type::Submenu);
    ASSERT_EQ(file.entries[1].children.size(), 3u); // Compress, separator, Reprint
    EXPECT_EQ(file.entries[1].children[1].type, MenuEntry::Type::Separator);
    EXPECT_EQ(file.entries[2].type, MenuEntry::Type::Separator);
    EXPECT_EQ(bar.find(13)->accelerator, "F9");
    EXPECT_EQ(bar.find(99), nullptr);
    EXPECT_EQ(bar.commandIds(), (std::vector<int>{10, 12, 13, 14, 11}));
    EXPECT_EQ(bar.accelerators().size(), 2u);
    // A later table may rename a command without moving it.
    bar.add({11, "&Watch it", "W", CommandKind::Toggle, "&View", ""});
    EXPECT_EQ(bar.menus().size(), 2u);
    EXPECT_EQ(bar.find(11)->text, "&Watch it");
    EXPECT_EQ(bar.find(11)->accelerator, "W");
}

TEST(RealText, PlainNumbersOnly)
{
    Real v = 7;
    EXPECT_TRUE(parseRealText(" -1.5e2 ", v));
    EXPECT_EQ(v, -150);
    EXPECT_TRUE(parseRealText("pi", v));
    EXPECT_NEAR(static_cast<double>(v), 3.141592653589793, 1e-15);
    v = 7;
    for (const char* bad : {"", "  ", "1.2.3", "0x10", "inf", "nan", "1e99999", "2*3", "1,5"})
        EXPECT_FALSE(parseRealText(bad, v)) << bad;
    EXPECT_EQ(v, 7);
    int32_t n = 3;
    EXPECT_TRUE(parseIntText("250", n));
    EXPECT_EQ(n, 250);
    EXPECT_TRUE(parseIntText("-2147483648", n));
    EXPECT_FALSE(parseIntText("2147483648", n));
    EXPECT_FALSE(parseIntText("2.5", n));
    EXPECT_EQ(n, -2147483648);
}
