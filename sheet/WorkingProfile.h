// The working profile: the settings of the current profile, which the profile store loads and saves and the
// pages edit. Fields are named after the registry values that keep them.
#pragma once
#include "fw/Framework.h"

struct CWorkingProfile {
    WORD DSChannel = 0;    // 1 .. 14
    WORD TxRate = 0;       // 1, 2, 3 (1 or 2), 4 (5.5), 8 (11), 15 (automatic)
    BYTE NetworkType = 0;  // 0 ad-hoc, 1 infrastructure, 3 a further ad-hoc type
    BYTE PSMode = 0;       // 0 off, 1 on (the registry holds the value plus one)
    BYTE SSID[32] = {};    // not terminated
    WORD SSIDLength = 0;   // valid bytes in SSID, 0 .. 32
    WORD AuthentAlg = 0;   // 1 open system, 2 shared key, 3 auto (65535 in the registry)
    BYTE PreambleMode = 0; // 1 long, 2 short
    CString Passphrase;    // not kept in the registry
    CString DefaultKeys;   // as last loaded; a save computes the stored text afresh
    CString WEP_KEY_1, WEP_KEY_2, WEP_KEY_3, WEP_KEY_4;
    CString WEP64_KEY_1, WEP64_KEY_2, WEP64_KEY_3, WEP64_KEY_4;
    CString WEP128_KEY_1, WEP128_KEY_2, WEP128_KEY_3, WEP128_KEY_4;
    CString FragThresh; // decimal text
    CString RTSThresh;  // decimal text
    CString SSIDText;   // what the registry value "SSID" holds
    BYTE DefaultKeyId = 0;    // 0 .. 3 (the registry holds the value plus one)
    WORD DenyUnencrypted = 0; // not kept in the registry
    BYTE WepReq = 0;          // 0 off, 2 64-bit keys, 6 128-bit keys
    CString CurProfile;
    int PassphraseRadio = 0; // radio states of the Encryption page, not kept in the registry
    int ManualRadio = 0;
};
