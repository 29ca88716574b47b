// The sheet object as the main frame makes it: caption, header flags, hand-shake events, unknown link state.
#include <gtest/gtest.h>

#include "sheet/ConfigUtility.h"

namespace {

TEST(SheetConstructionTest, StartsWithHelpButNoApplyAndTheUserInterfaceIdle) {
    CConfigUtility sheet("DAZE802.11d AVUD UDE Zadu Vuvivav");

    EXPECT_EQ(static_cast<DWORD>(PSH_NOAPPLYNOW | PSH_HASHELP), sheet.m_psh.dwFlags & 0x280u);
    EXPECT_EQ(0u, sheet.m_psh.nStartPage);
    EXPECT_EQ(LINK_STATE_UNKNOWN, sheet.m_wLastLinkState.load());
    ASSERT_NE(nullptr, sheet.m_hUiIdle);
    ASSERT_NE(nullptr, sheet.m_hMonitorIdle);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(sheet.m_hUiIdle, 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(sheet.m_hMonitorIdle, 0));
    // Manual reset: a wait does not consume the signal.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(sheet.m_hUiIdle, 0));
}

} // namespace
