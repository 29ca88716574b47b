// Controls as program code fills and reads them, and the notifications a user's actions bring through the
// message maps: list rows and clicks, sorted combo boxes, slider releases, timers, message boxes.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSheet.h"
#include "driver/UserDriver.h"

namespace {

using Lines = std::vector<std::string>;

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { Driver().Reset(); }
    void TearDown() override { EXPECT_EQ(Driver().Failures(), Lines{}); }

    Trace trace;
};

TEST_F(ControlsTest, ListRowsColumnsAndTheClickedRow) {
    TestSheet sheet(trace);
    Lines row1;
    int count = 0;
    UINT selected = 0;
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        HWND list = ::GetDlgItem(page, IDC_NETWORKS);
        // Rows are added on the page's thread, as program code does it.
        ::SendMessageA(page, WM_NULL, 0, 0);
        CListCtrl* lst = &sheet.m_first.m_lstNetworks;
        (void)lst;
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        char a[] = "alpha", b[] = "beta";
        item.pszText = a;
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iItem = 1;
        item.pszText = b;
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMA sub{};
        sub.iSubItem = 1;
        char channel[] = "11";
        sub.pszText = channel;
        ::SendMessageA(list, LVM_SETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&sub));
        Driver().ClickRow(page, IDC_NETWORKS, 1);
        count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        selected = static_cast<UINT>(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
        for (int column = 0; column < 2; ++column) {
            char text[32] = "";
            LVITEMA get{};
            get.iSubItem = column;
            get.pszText = text;
            get.cchTextMax = sizeof text;
            ::SendMessageA(list, LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&get));
            row1.push_back(text);
        }
        Driver().Click(h, IDCANCEL);
    });
    EXPECT_EQ(count, 2);
    EXPECT_EQ(selected, 1u);
    EXPECT_EQ(row1, (Lines{"beta", "11"}));
    EXPECT_EQ(sheet.m_first.m_nClickedRow, 1);
}

TEST_F(ControlsTest, ASortedComboKeepsItsEntriesInOrderWhateverTheirCase) {
    TestSheet sheet(trace);
    Lines entries;
    int found = -2, missing = -2;
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        HWND combo = ::GetDlgItem(page, IDC_PROFILE);
        int n = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char text[32] = "";
            ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        found = static_cast<int>(::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>("OFFICE")));
        missing = static_cast<int>(
            ::SendMessageA(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("x")));
        Driver().Click(h, IDCANCEL);
    });
    EXPECT_EQ(entries, (Lines{"default", "Home", "office"}));
    EXPECT_EQ(found, 2);
    EXPECT_EQ(missing, CB_ERR);
}

TEST_F(ControlsTest, PickingAnEntryNotifiesThePageThroughItsMap) {
    TestSheet sheet(trace);
    ShowWithUser(sheet, [&](HWND h) {
        Driver().PickCombo(PropSheet_GetCurrentPageHwnd(h), IDC_MODE, 1);
        Driver().Click(h, IDCANCEL);
    });
    Lines lines = trace.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "first modechange 1"), 1);
}

TEST_F(ControlsTest, ASliderReportsItsPositionWhenTheUserLetsGo) {
    TestSheet sheet(trace);
    ShowWithUser(sheet, [&](HWND h) {
        Driver().DragSlider(PropSheet_GetCurrentPageHwnd(h), IDC_LEVEL, 5000);
        Driver().Click(h, IDCANCEL);
    });
    // The thumb stops at the end of the range.
    EXPECT_EQ(sheet.m_first.m_nReleasedAt, 2432);
}

TEST_F(ControlsTest, ActionsOnControlsAUserCannotReachFailClearly) {
    TestSheet sheet(trace);
    bool clickedDisabled = true, typedUnknown = true;
    ShowWithUser(sheet, [&](HWND h) {
        HWND page = PropSheet_GetCurrentPageHwnd(h);
        clickedDisabled = Driver().Click(page, IDC_APPLY);
        typedUnknown = Driver().Type(page, 4242, "x");
        Driver().Click(h, IDCANCEL);
    });
    EXPECT_FALSE(clickedDisabled);
    EXPECT_FALSE(typedUnknown);
    EXPECT_EQ(Driver().Failures().size(), 2u);
    Driver().Reset();
}

TEST_F(ControlsTest, GetDlgItemOfAnUnknownIdGivesAWindowOnWhichCallsFail) {
    TestSheet sheet(trace);
    BOOL enabled = TRUE;
    ShowWithUser(sheet, [&](HWND h) { Driver().Click(h, IDCANCEL); });
    CWnd* missing = sheet.m_first.GetDlgItem(4242);
    ASSERT_NE(missing, nullptr);
    enabled = missing->EnableWindow(TRUE);
    EXPECT_EQ(missing->GetSafeHwnd(), nullptr);
    EXPECT_FALSE(enabled);
    // The misuse is reported (on the host as a failure event, on Windows to the debugger).
    Driver().Reset();
}

// A page timer with its id, ticking every two seconds of virtual time while the sheet's loop runs.
class TimerPage : public FirstPage {
public:
    using FirstPage::FirstPage;
    BOOL OnSetActive() override {
        SetTimer(183, 2000);
        m_setAt = ::GetTickCount();
        return FirstPage::OnSetActive();
    }
    BOOL OnKillActive() override {
        KillTimer(183);
        return FirstPage::OnKillActive();
    }
    DWORD m_setAt = 0;
};

TEST_F(ControlsTest, TimersTickAtTheirCadenceOnlyWhileTheModalLoopRuns) {
    std::shared_ptr<void> time = Driver().TestTime();
    Trace timerTrace;
    TimerPage page(timerTrace);
    CPropertySheet sheet(TEST_SHEET_TITLE);
    sheet.AddPage(&page);
    // The user closes the sheet a second after the third tick, half-way to a fourth. On real Windows a
    // WM_TIMER comes when the queue is otherwise empty, so a busy machine makes it late, never early: the
    // late side has the wider margin.
    ShowWithUser(sheet, [&](HWND h) {
        for (int waited = 0; page.m_ticksSeen < 3 && waited < 20000; waited += 50)
            ::Sleep(50);
        ::Sleep(1000);
        Driver().Click(h, IDCANCEL);
    });
    size_t ticksWhenClosed = page.m_ticks.size();
    ::Sleep(4000);
    EXPECT_EQ(page.m_ticks.size(), ticksWhenClosed);
    ASSERT_EQ(page.m_ticks.size(), 3u);
    const bool exact = Driver().TimeIsExact();
    for (size_t i = 0; i < page.m_ticks.size(); ++i) {
        EXPECT_EQ(page.m_ticks[i], 183u);
        DWORD expected = 2000u * static_cast<DWORD>(i + 1);
        DWORD elapsed = page.m_tickTimes[i] - page.m_setAt;
        EXPECT_LE(elapsed, expected + (exact ? 0 : 900));
        EXPECT_GE(elapsed + (exact ? 0 : 50), expected);
    }
}

TEST_F(ControlsTest, AMessageBoxReturnsTheAnswerGivenAndAnUnansweredOneFails) {
    CWinApp* app = AfxGetApp();
    (void)app;
    Driver().AnswerNextBox(IDNO);
    int first = AfxMessageBox("Remove profile: work?", MB_YESNO | MB_ICONQUESTION);
    int second = AfxMessageBox(IDS_TEST_PROMPT, MB_OK);
    EXPECT_EQ(first, IDNO);
    EXPECT_NE(second, IDYES);
    EXPECT_EQ(Driver().BoxesShown(), (Lines{"Remove profile: work?", "Do you want to go on?"}));
    ASSERT_EQ(Driver().Failures().size(), 1u);
    EXPECT_NE(Driver().Failures()[0].find("no answer"), std::string::npos);
    Driver().Reset();
}

} // namespace
