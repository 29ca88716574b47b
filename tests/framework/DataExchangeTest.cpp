// Data exchange between a page's controls and its members: what UpdateData moves each way, and what a failed
// validation shows.
#include <gtest/gtest.h>

#include "Wine.h"

#include <algorithm>

#include "TestSheet.h"
#include "driver/UserDriver.h"

namespace {

using Lines = std::vector<std::string>;

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { Driver().Reset(); }
    void TearDown() override { EXPECT_EQ(Driver().Failures(), Lines{}); }

    static CString Text(HWND page, int id) {
        char text[256] = "";
        ::GetWindowTextA(::GetDlgItem(page, id), text, sizeof text);
        return CString(text);
    }

    Trace trace;
};

TEST_F(DataExchangeTest, MembersReachTheControlsWhenThePageIsCreated) {
    TestSheet sheet(trace);
    sheet.m_first.m_strName = "lab";
    sheet.m_first.m_nMode = 1;
    sheet.m_first.m_bEnabled = 1;
    sheet.m_first.m_nLevel = 2304;
    sheet.m_first.m_strProfile = "HO";
    CString name, profile;
    int mode = -2, checked = -2, level = -2;
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        name = Text(page, IDC_NAME);
        profile = Text(page, IDC_PROFILE);
        mode = static_cast<int>(::SendDlgItemMessageA(page, IDC_MODE, CB_GETCURSEL, 0, 0));
        checked = static_cast<int>(::SendDlgItemMessageA(page, IDC_ENABLED, BM_GETCHECK, 0, 0));
        level = static_cast<int>(::SendDlgItemMessageA(page, IDC_LEVEL, TBM_GETPOS, 0, 0));
        Driver().Click(h, IDCANCEL);
    });
    EXPECT_EQ(name, "lab");
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(checked, BST_CHECKED);
    EXPECT_EQ(level, 2304);
    // A combo box selects the first entry that begins with the text, whatever its case.
    EXPECT_EQ(profile, "Home");
}

TEST_F(DataExchangeTest, LeavingThePagePullsWhatTheUserChanged) {
    TestSheet sheet(trace);
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        Driver().Type(page, IDC_NAME, "cafe");
        Driver().PickCombo(page, IDC_MODE, 0);
        Driver().Click(page, IDC_ENABLED);
        Driver().DragSlider(page, IDC_LEVEL, 640);
        Driver().Type(page, IDC_PROFILE, "work");
        Driver().SelectTab(h, 1);
        Driver().Click(h, IDCANCEL);
    });
    EXPECT_EQ(sheet.m_first.m_strName, "cafe");
    EXPECT_EQ(sheet.m_first.m_nMode, 0);
    EXPECT_EQ(sheet.m_first.m_bEnabled, 1);
    EXPECT_EQ(sheet.m_first.m_nLevel, 640);
    EXPECT_EQ(sheet.m_first.m_strProfile, "work");
}

TEST_F(DataExchangeTest, TheEditTakesNoMoreThanItsLimitFromTheUser) {
    TestSheet sheet(trace);
    CString typed;
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        Driver().Type(page, IDC_NAME, "0123456789AB");
        typed = Text(page, IDC_NAME);
        Driver().Click(h, IDOK);
    });
    EXPECT_EQ(typed, "01234567");
    EXPECT_EQ(sheet.m_first.m_strName, "01234567");
    // Every accepted character was a change the page heard of. Wine's edit control also reports a change for
    // each character it refuses at the limit (Windows sends only EN_MAXTEXT then): there the page hears one
    // change per character typed.
    Lines lines = trace.Lines();
    const long expectedChanges = testsupport::RunningUnderWine() ? 12 : 8;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "first namechange"), expectedChanges);
}

TEST_F(DataExchangeTest, ANumberOutOfRangeIsRefusedWithAMessageAndThePageStays) {
    TestSheet sheet(trace);
    sheet.SetActivePage(1);
    HWND pageBefore = nullptr, pageAfter = nullptr;
    Driver().AnswerNextBox(IDOK);
    Driver().AnswerNextBox(IDOK);
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        pageBefore = page;
        Driver().Type(page, IDC_COUNT, "150");
        Driver().SelectTab(h, 0);
        Driver().Type(page, IDC_COUNT, "x1");
        Driver().SelectTab(h, 0);
        pageAfter = PropSheet_GetCurrentPageHwnd(h);
        Driver().Type(page, IDC_COUNT, "42");
        Driver().Click(h, IDOK);
    });
    EXPECT_EQ(pageAfter, pageBefore);
    EXPECT_EQ(Driver().BoxesShown(),
              (Lines{"Please enter an integer between 0 and 99.", "Please enter an integer."}));
    EXPECT_EQ(sheet.m_second.m_nCount, 42);
}

TEST_F(DataExchangeTest, RadioButtonsExchangeTheIndexOfTheCheckedOne) {
    TestSheet sheet(trace);
    sheet.SetActivePage(1);
    sheet.m_second.m_nRadio = 1;
    int checkedB = -1;
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        checkedB = static_cast<int>(::SendDlgItemMessageA(page, IDC_RADIO_B, BM_GETCHECK, 0, 0));
        Driver().Click(page, IDC_RADIO_A);
        Driver().Click(h, IDOK);
    });
    EXPECT_EQ(checkedB, BST_CHECKED);
    EXPECT_EQ(sheet.m_second.m_nRadio, 0);
}

TEST_F(DataExchangeTest, AButtonHandlerSeesTheControlsThroughUpdateData) {
    TestSheet sheet(trace);
    bool applyEnabledAfterTyping = false, applyEnabledAfterApply = true;
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        Driver().Type(page, IDC_NAME, "x");
        applyEnabledAfterTyping = ::IsWindowEnabled(::GetDlgItem(page, IDC_APPLY));
        Driver().Click(page, IDC_APPLY);
        applyEnabledAfterApply = ::IsWindowEnabled(::GetDlgItem(page, IDC_APPLY));
        Driver().Click(h, IDCANCEL);
    });
    EXPECT_TRUE(applyEnabledAfterTyping);
    EXPECT_FALSE(applyEnabledAfterApply);
    Lines lines = trace.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "first applied"), 1);
    EXPECT_EQ(sheet.m_first.m_strName, "x");
}

} // namespace
