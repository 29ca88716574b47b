// What SaveProfile writes for each value of the working profile: name, type, bytes and the places it goes.
// Pure, like the decoding, so the byte rules can be checked and fed arbitrary profiles.
//
// Text kinds (Windows 2000, 95, 98/Me): every value is REG_SZ. A value with a fixed byte count N stores the
// first N bytes of its text and pads a shorter text with zero bytes (channel 11 is the two bytes "11",
// channel 6 is "6" and a zero); any other value stores its text without a terminating zero.
// NT 4: the ten numbers are REG_DWORD (the decimal value of the same text form, "RTSThresh" cut to 16
// bits); the texts stay REG_SZ as above.
#pragma once
#include <win32api.h>

#include "profiles/ProfileDecoding.h"
#include "sheet/WorkingProfile.h"

enum {
    PROFILE_VALUE_COUNT = 25,
    // The longest text a working profile can hold: "DefaultKeys", four key texts joined, each at most what a
    // load reads.
    PROFILE_TEXT_SIZE_MAX = 4 * PROFILE_VALUE_DATA_SIZE,
};

struct PROFILE_VALUE {
    LPCSTR pszName;
    DWORD dwType; // REG_SZ, or REG_DWORD for NT 4's numbers
    BYTE abData[PROFILE_TEXT_SIZE_MAX];
    DWORD cbData;
    BOOL bToProfile; // also written to the profile key ("CurProfile" is not)
    BOOL bToMirror;  // also written to the unnamed value of "Ndi\params\<name>"
};

// Value nIndex of a save, 0 .. PROFILE_VALUE_COUNT - 1 in the order of writing: "CurProfile", "SSID",
// "DSChannel", "TxRate", "NetworkType", "WepReq", "DefaultKeyId", the twelve keys, "DefaultKeys",
// "FragThresh", "RTSThresh", "PreambleMode", "PSMode", "AuthentAlg". FALSE for any other index.
//
// A text is stored whole, even one longer than a load reads (PROFILE_VALUE_DATA_SIZE bytes): the next load
// then stops at it, and the values after it stay unread. Design decision: a text longer than
// PROFILE_TEXT_SIZE_MAX, which nothing in the program makes, is cut to that size rather than overrun the
// data area.
BOOL EncodeProfileValue(const CWorkingProfile& profile, BOOL bNumbers, int nIndex, PROFILE_VALUE* pValue);

// The stored "DefaultKeys": with 128-bit WEP (WepReq 6) and DefaultKeyId 0 .. 3, the 128-bit key it selects;
// otherwise WEP_KEY_1 .. WEP_KEY_4 joined without separator.
CString ComposeDefaultKeys(const CWorkingProfile& profile);
