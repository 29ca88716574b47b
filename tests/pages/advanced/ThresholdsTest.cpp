// A threshold text of the profile reads as the release build's strtol reads it (32-bit long), cut to 16
// bits; a slider snaps to the nearest multiple of its step, halves upward.
#include <gtest/gtest.h>

#include "pages/AdvancedPageThresholds.h"

namespace {

TEST(ThresholdFromText, ReadsDecimalNumbersAsStrtolDoes) {
    EXPECT_EQ(2346, ThresholdFromText("2346"));
    EXPECT_EQ(384, ThresholdFromText("0384"));
    EXPECT_EQ(12, ThresholdFromText("  12abc"));
    EXPECT_EQ(0, ThresholdFromText("abc"));
    EXPECT_EQ(0, ThresholdFromText(""));
    EXPECT_EQ(0, ThresholdFromText(nullptr));
}

TEST(ThresholdFromText, KeepsTheLow16BitsOfWhatA32BitLongHolds) {
    EXPECT_EQ(0xFFFF, ThresholdFromText("-1"));
    EXPECT_EQ(70000 & 0xFFFF, ThresholdFromText("70000"));
    // Beyond the 32-bit range strtol stops at LONG_MAX (0x7FFFFFFF) or LONG_MIN (0x80000000).
    EXPECT_EQ(0xFFFF, ThresholdFromText("99999999999"));
    EXPECT_EQ(0x0000, ThresholdFromText("-99999999999"));
}

TEST(SnapThreshold, GoesToTheNearestStepWithHalvesUpward) {
    EXPECT_EQ(1024, SnapThreshold(1000, FRAG_THRESHOLD_STEP));
    EXPECT_EQ(2304, SnapThreshold(2346, FRAG_THRESHOLD_STEP));
    EXPECT_EQ(2432, SnapThreshold(2368, FRAG_THRESHOLD_STEP)); // halfway between 2304 and 2432: upward
    EXPECT_EQ(2304, SnapThreshold(2367, FRAG_THRESHOLD_STEP));
    EXPECT_EQ(256, SnapThreshold(256, FRAG_THRESHOLD_STEP));
    EXPECT_EQ(512, SnapThreshold(500, RTS_THRESHOLD_STEP));
    EXPECT_EQ(64, SnapThreshold(32, RTS_THRESHOLD_STEP));
    EXPECT_EQ(0, SnapThreshold(31, RTS_THRESHOLD_STEP));
    EXPECT_EQ(2432, SnapThreshold(2432, RTS_THRESHOLD_STEP));
}

TEST(SnapThreshold, EveryReachablePositionIsAStepInsideTheRange) {
    for (int nPos = FRAG_THRESHOLD_MIN; nPos <= THRESHOLD_MAX; ++nPos) {
        const int nSnapped = SnapThreshold(nPos, FRAG_THRESHOLD_STEP);
        ASSERT_EQ(0, nSnapped % FRAG_THRESHOLD_STEP) << nPos;
        ASSERT_TRUE(nSnapped >= FRAG_THRESHOLD_MIN && nSnapped <= THRESHOLD_MAX) << nPos;
        ASSERT_LE(nSnapped - nPos, FRAG_THRESHOLD_STEP / 2) << nPos;
        ASSERT_LT(nPos - nSnapped, FRAG_THRESHOLD_STEP / 2) << nPos;
    }
}

} // namespace
