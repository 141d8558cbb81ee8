#include "base/bytes.h"
#include "base/file_io.h"
#include "model/frame_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace qx;

namespace {
std::string tempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / ("qx_test_" + std::to_string(::getpid()) + name)).string();
}
} // namespace

TEST(FrameSettingsFile, IsNineteenBytesInTheStoredLayout)
{
    FrameSettings s;
    s.placement = {-5, 258, 640, 480, true};
    s.openLast = true;
    s.useDefaults = false;
    const auto bytes = encodeFrameSettings(s);
    ASSERT_EQ(bytes.size(), 19u);
    const std::vector<uint8_t> expected{0xFB, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0, 0, 0x80, 0x02, 0, 0,
                                        0xE0, 0x01, 0, 0, 1, 1, 0};
    EXPECT_EQ(bytes, expected);
}

TEST(FrameSettingsFile, RoundTripsThroughTheDisk)
{
    const std::string path = tempPath("qx.ini");
    FrameSettings s;
    s.placement = {10, 20, 300, 200, false};
    s.openLast = false;
    s.useDefaults = false;
    ASSERT_TRUE(writeFrameSettings(path, s));
    FrameSettings t;
    ASSERT_TRUE(readFrameSettings(path, t));
    EXPECT_EQ(t.placement, s.placement);
    EXPECT_FALSE(t.openLast);
    EXPECT_FALSE(t.useDefaults);
    std::vector<uint8_t> again;
    ASSERT_TRUE(readWholeFile(path, again));
    EXPECT_EQ(again, encodeFrameSettings(t));
    std::remove(path.c_str());
}

TEST(FrameSettingsFile, ShortLongOrDamagedFilesLeaveTheDefaults)
{
    FrameSettings good;
    good.placement = {1, 2, 300, 200, false};
    auto bytes = encodeFrameSettings(good);
    const FrameSettings defaults;
    auto check = [&](std::vector<uint8_t> b) {
        FrameSettings s;
        EXPECT_FALSE(decodeFrameSettings(b, s));
        EXPECT_EQ(s.placement, defaults.placement);
        EXPECT_TRUE(s.useDefaults);
        EXPECT_FALSE(s.openLast);
    };
    check({bytes.begin(), bytes.end() - 1});       // short
    check({});                                     // empty
    auto longer = bytes; longer.push_back(0); check(longer);
    auto badFlag = bytes; badFlag[17] = 7; check(badFlag);
    auto badMax = bytes; badMax[16] = 2; check(badMax);
    auto both = bytes; both[17] = 1; both[18] = 1; check(both);
    FrameSettings s;
    EXPECT_FALSE(readFrameSettings(tempPath("missing.ini"), s));
    EXPECT_TRUE(s.useDefaults);
}

TEST(PlacementValidation, ReplacesPlacementsThatDoNotFitTheScreen)
{
    const WindowPlacement fallback{7, 11, 120, 72, false};
    // r0 = 41 gives y = 11, r1 = 37 gives x = 7.
    EXPECT_EQ(validatedPlacement({10, 10, 119, 100, false}, 1920, 1080, 41, 37), fallback);
    EXPECT_EQ(validatedPlacement({-1, 10, 300, 100, false}, 1920, 1080, 41, 37), fallback);
    EXPECT_EQ(validatedPlacement({10, -1, 300, 100, false}, 1920, 1080, 41, 37), fallback);
    EXPECT_EQ(validatedPlacement({10, 10, 300, 71, false}, 1920, 1080, 41, 37), fallback);
    EXPECT_EQ(validatedPlacement({1700, 10, 300, 100, false}, 1920, 1080, 41, 37), fallback);
    EXPECT_EQ(validatedPlacement({10, 1000, 300, 100, true}, 1920, 1080, 41, 37), fallback);
    // Overflowing sums do not wrap into a fit.
    EXPECT_EQ(validatedPlacement({2147483000, 0, 2147483000, 100, false}, 1920, 1080, 41, 37), fallback);
    const WindowPlacement exact{1800, 1008, 120, 72, true};
    EXPECT_EQ(validatedPlacement(exact, 1920, 1080, 41, 37), exact);
}

TEST(PlacementValidation, DefaultFramePlacementFollowsTheRandomNumbers)
{
    EXPECT_EQ(defaultFramePlacement(45, 250), (WindowPlacement{150, 25, 200, 120, false}));
}

TEST(ByteReader, RefusesToReadPastTheEnd)
{
    ByteWriter w;
    w.i32(-2);
    w.real(3.25L);
    w.fixedText("abcdef", 4);
    auto bytes = w.take();
    ASSERT_EQ(bytes.size(), 18u);
    ByteReader r(bytes);
    int32_t i = 0;
    Real x = 0;
    std::string t;
    EXPECT_TRUE(r.i32(i));
    EXPECT_TRUE(r.real(x));
    EXPECT_TRUE(r.fixedText(4, t));
    EXPECT_EQ(i, -2);
    EXPECT_EQ(x, 3.25L);
    EXPECT_EQ(t, "abc");
    uint8_t b = 9;
    EXPECT_FALSE(r.u8(b));
    EXPECT_EQ(b, 9);
    EXPECT_FALSE(r.ok());
    ByteReader huge(bytes);
    EXPECT_FALSE(huge.skip(size_t(-1))); // a count from a file never wraps
}

TEST(SafeWrite, AFailedWriteKeepsTheOldFile)
{
    const std::string path = tempPath("doc.bin");
    ASSERT_TRUE(writeFileAtomically(path, std::string("old contents")));
    // A target inside a missing directory cannot be written; the old file is untouched.
    EXPECT_FALSE(writeFileAtomically(path + ".missing/x", std::string("new")));
    std::vector<uint8_t> data;
    ASSERT_TRUE(readWholeFile(path, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "old contents");
    // No temporary files are left beside it.
    int siblings = 0;
    for (auto& e : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        if (e.path().string().rfind(path + ".", 0) == 0)
            ++siblings;
    EXPECT_EQ(siblings, 0);
    std::remove(path.c_str());
}

TEST(SettingsDirectory, FollowsXdgConfigHome)
{
    const std::string base = tempPath("cfg");
    ::setenv("XDG_CONFIG_HOME", base.c_str(), 1);
    EXPECT_EQ(settingsDirectory(), base + "/quorvex/");
    EXPECT_TRUE(std::filesystem::is_directory(base + "/quorvex"));
    EXPECT_EQ(settingsPath("qx.ini"), base + "/quorvex/qx.ini");
    std::filesystem::remove_all(base);
}
