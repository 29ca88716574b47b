// The About page: the product, the copyright, and the versions of the driver file, the utility and the
// card's firmware, read afresh at every visit of the tab.
#pragma once
#include "fw/Framework.h"
#include "resource.h"

class CConfigUtility;

class CAboutPage : public CPropertyPage {
public:
    enum { IDD = IDD_ABOUT };

    CAboutPage();
    ~CAboutPage() override;

    int m_bLinkFontCreated;
    CBrush m_brWhite;
    CString m_strMiniportVersion; // "Unknown" until the driver file's version was read once
    CFont m_fontLink;
    VS_FIXEDFILEINFO m_FixedFileInfo;
    OSVERSIONINFOA m_OsVersion;
    CStatic m_stcUtilityVersion;
    CString m_strUtilityVersion;
    CString m_strDriverVersion;
    CString m_strFirmwareVersion;
    CString m_strProductDescription;
    CString m_strCopyright;

    // Fills m_strMiniportVersion from the version resource of the card's driver file.
    void ReadDriverFileVersion();
    // The text of a firmware version answer of cbAnswer bytes (the count the driver reported): the bytes
    // b0 b1 b2 b3 read as b2.b1.b0.b3, or "---" unless the answer is exactly FIRMWARE_VERSION_SIZE bytes.
    static CString FormatFirmwareVersion(const BYTE* pbAnswer, DWORD cbAnswer);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnSetActive() override;

    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnWebLink();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    CConfigUtility* Sheet() const;
    void PrepareWebLink();
    void ReadFirmwareVersion();
};
