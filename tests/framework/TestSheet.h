// The property sheet of the framework tests: two pages that write what the framework tells them into a trace,
// and a helper that shows a sheet while a user thread works on it.
#pragma once
#include <fw/Framework.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "TestDialogs.h"
#include "threads/Mutex.h"

class Trace {
public:
    void Add(const std::string& line) {
        threads::Lock lock(m_mutex);
        m_lines.push_back(line);
    }
    std::vector<std::string> Lines() {
        threads::Lock lock(m_mutex);
        return m_lines;
    }
    void Clear() {
        threads::Lock lock(m_mutex);
        m_lines.clear();
    }

private:
    threads::Mutex m_mutex;
    std::vector<std::string> m_lines;
};

class TracingPage : public CPropertyPage {
public:
    TracingPage(UINT id, const char* name, Trace& trace) : CPropertyPage(id), m_name(name), m_trace(trace) {}
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    BOOL OnApply() override;
    void OnOK() override;
    void OnCancel() override;
    void OnReset() override;
    BOOL OnQueryCancel() override;
    void Note(const std::string& what) { m_trace.Add(m_name + " " + what); }

    BOOL m_bRefuseToLeave = FALSE;
    BOOL m_bRefuseCancel = FALSE;
    UINT m_nHelpContext = 0;

protected:
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    std::string m_name;
    Trace& m_trace;
};

// Name, mode, a check box, a level slider, a meter, a network list and a profile combo, with data exchange.
class FirstPage : public TracingPage {
public:
    explicit FirstPage(Trace& trace) : TracingPage(IDD_TEST_FIRST, "first", trace) {}
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    CString m_strName;
    int m_nMode = -1;
    int m_bEnabled = 0;
    int m_nLevel = 0;
    CString m_strProfile;
    CListCtrl m_lstNetworks;
    CComboBox m_cmbMode;
    CSliderCtrl m_sldLevel;
    int m_nClickedRow = -1;
    int m_nReleasedAt = -1;
    std::vector<UINT_PTR> m_ticks;
    std::vector<DWORD> m_tickTimes;
    std::atomic<int> m_ticksSeen{0}; // m_ticks.size(), for a user's thread to read

protected:
    afx_msg void OnNameChange();
    afx_msg void OnModeChange();
    afx_msg void OnApplyChanges();
    afx_msg void OnClickNetworks(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnReleasedLevel(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};

class SecondPage : public TracingPage {
public:
    explicit SecondPage(Trace& trace) : TracingPage(IDD_TEST_SECOND, "second", trace) {}
    void DoDataExchange(CDataExchange* pDX) override;

    int m_nCount = 0;
    int m_nRadio = -1;
};

class TestSheet : public CPropertySheet {
public:
    explicit TestSheet(Trace& trace);
    BOOL OnInitDialog() override;

    Trace& m_trace;
    FirstPage m_first;
    SecondPage m_second;
    int m_nEndWhileMade = 0; // when set, OnInitDialog ends the modal loop with it

protected:
    afx_msg void OnSheetHelp();
    DECLARE_MESSAGE_MAP()
};

// Shows the sheet modally on this thread while `user` runs on a thread of its own with the sheet's window;
// returns DoModal's result. The user must close the sheet.
INT_PTR ShowWithUser(CPropertySheet& sheet, const std::function<void(HWND sheet)>& user);
