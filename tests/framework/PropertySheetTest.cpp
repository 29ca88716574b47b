// The property sheet's life as its pages see it: creation on first activation, activation order, OK, Cancel,
// Help, and a modal loop that another thread ends.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSheet.h"
#include "driver/UserDriver.h"

namespace {

using Lines = std::vector<std::string>;

class PropertySheetTest : public ::testing::Test {
protected:
    void SetUp() override { Driver().Reset(); }
    void TearDown() override { EXPECT_EQ(Driver().Failures(), Lines{}); }

    Trace trace;
};

TEST_F(PropertySheetTest, OkAppliesEveryCreatedPageAfterTheCurrentOneIsLeft) {
    TestSheet sheet(trace);
    INT_PTR result = ShowWithUser(sheet, [&](HWND h) {
        ASSERT_NE(h, nullptr);
        Driver().SelectTab(h, 1);
        Driver().Click(h, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(trace.Lines(), (Lines{"first init", "first setactive", "sheet init", "first killactive",
                                    "second init", "second setactive", "second killactive", "first apply",
                                    "first ok", "second apply", "second ok"}));
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_EQ(sheet.m_first.m_hWnd, nullptr);
}

TEST_F(PropertySheetTest, CancelAsksTheCurrentPageAndResetsOnlyPagesThatWereShown) {
    TestSheet sheet(trace);
    INT_PTR result = ShowWithUser(sheet, [&](HWND h) { Driver().Click(h, IDCANCEL); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(trace.Lines(), (Lines{"first init", "first setactive", "sheet init", "first querycancel",
                                    "first reset", "first cancel"}));
}

TEST_F(PropertySheetTest, APageThatRefusesToBeLeftKeepsTheSheetOnIt) {
    TestSheet sheet(trace);
    sheet.m_first.m_bRefuseToLeave = TRUE;
    HWND pageBefore = nullptr;
    HWND pageAfter = nullptr;
    ShowWithUser(sheet, [&](HWND h) {
        pageBefore = PropSheet_GetCurrentPageHwnd(h);
        Driver().SelectTab(h, 1);
        pageAfter = PropSheet_GetCurrentPageHwnd(h);
        Driver().Click(h, IDCANCEL);
    });
    EXPECT_NE(pageBefore, nullptr);
    EXPECT_EQ(pageAfter, pageBefore);
    Lines lines = trace.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "second init"), 0);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "first killactive"), 1);
}

TEST_F(PropertySheetTest, SheetHasOkCancelAndHelpButNoApplyAndItsTabsInOneRow) {
    TestSheet sheet(trace);
    bool okShown = false, cancelShown = false, helpShown = false, applyShown = true, helpEnabled = false;
    int rows = 0;
    Lines tabs;
    ShowWithUser(sheet, [&](HWND h) {
        okShown = ::IsWindowVisible(::GetDlgItem(h, IDOK));
        cancelShown = ::IsWindowVisible(::GetDlgItem(h, IDCANCEL));
        helpShown = ::IsWindowVisible(::GetDlgItem(h, IDHELP));
        helpEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDHELP));
        HWND apply = ::GetDlgItem(h, ID_APPLY_NOW);
        applyShown = apply != nullptr && ::IsWindowVisible(apply);
        HWND tab = PropSheet_GetTabControl(h);
        rows = static_cast<int>(::SendMessageA(tab, TCM_GETROWCOUNT, 0, 0));
        for (int i = 0; i < static_cast<int>(::SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0)); ++i) {
            char text[64] = "";
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            ::SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            tabs.push_back(text);
        }
        Driver().Click(h, IDCANCEL);
    });
    EXPECT_TRUE(okShown);
    EXPECT_TRUE(cancelShown);
    EXPECT_TRUE(helpShown);
    EXPECT_TRUE(helpEnabled);
    EXPECT_FALSE(applyShown);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(tabs, (Lines{"First", "Second"}));
}

TEST_F(PropertySheetTest, HelpReachesTheActivePageWithItsOwnContext) {
    if (!Driver().SeesHelpRequests())
        GTEST_SKIP() << "help requests open the system's help window here";
    TestSheet sheet(trace);
    ShowWithUser(sheet, [&](HWND h) {
        Driver().Click(h, IDHELP);
        Driver().SelectTab(h, 1);
        Driver().Click(h, IDHELP);
        Driver().Click(h, IDCANCEL);
    });
    Lines lines = trace.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "first help"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "second help"), 1);
    auto requests = Driver().HelpRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], std::make_pair(static_cast<UINT>(HELP_CONTEXT), static_cast<ULONG_PTR>(102)));
    EXPECT_EQ(requests[1], std::make_pair(static_cast<UINT>(HELP_CONTEXT), static_cast<ULONG_PTR>(103)));
}

TEST_F(PropertySheetTest, AnotherThreadEndsTheModalLoopWithItsResult) {
    TestSheet sheet(trace);
    INT_PTR result = ShowWithUser(sheet, [&](HWND h) {
        ASSERT_NE(h, nullptr);
        sheet.EndModalLoop(IDOK);
        sheet.EnableWindow(TRUE);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(::IsWindow(sheet.m_first.m_hWnd));
    // Ending the loop is not OK: no page was asked to apply.
    Lines lines = trace.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "first apply"), 0);
}

TEST_F(PropertySheetTest, AnEndAskedForWhileTheSheetIsBeingMadeIsKept) {
    TestSheet sheet(trace);
    sheet.m_nEndWhileMade = IDCANCEL;
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    Lines lines = trace.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "first apply"), 0);
}

TEST_F(PropertySheetTest, ShowingTheSheetAgainRebuildsThePageWindowsOfTheSameObjects) {
    TestSheet sheet(trace);
    ShowWithUser(sheet, [&](HWND h) { Driver().Click(h, IDCANCEL); });
    trace.Clear();
    INT_PTR result = ShowWithUser(sheet, [&](HWND h) { Driver().Click(h, IDOK); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(trace.Lines(), (Lines{"first init", "first setactive", "sheet init", "first killactive",
                                    "first apply", "first ok"}));
}

} // namespace
