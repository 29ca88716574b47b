// The two records that the pages and the monitor thread hand to the compound operations of CWlanAdapter.
// They are the program's own records, not wire layouts: the operations send and read their fields one request
// at a time (little-endian on the wire), so the compiler is free to pad them.
#pragma once
#include <win32api.h>

enum {
    WEP_KEY_FIELD_SIZE = 13, // room for a 128-bit WEP key; a 64-bit key uses the first 5 bytes
    WEP_KEY_COUNT = 4,
    SSID_FIELD_SIZE = 32,
    BSSID_FIELD_SIZE = 6,
};

// Security settings.
struct CardSettings {
    BYTE TxKeyIndex;      // default transmit key, 0 to 3
    WORD DenyUnencrypted; // read from the card, never written by the compound operations
    WORD AuthentAlg;      // authentication algorithm
    BYTE WepMode;         // WEP_MODE_64, WEP_MODE_128, anything else: WEP off
    BYTE WepKey1[WEP_KEY_FIELD_SIZE];
    BYTE WepKey2[WEP_KEY_FIELD_SIZE];
    BYTE WepKey3[WEP_KEY_FIELD_SIZE];
    BYTE WepKey4[WEP_KEY_FIELD_SIZE];
};

// Basic link configuration and the link state read back from the card.
struct LinkStatus {
    BYTE NetworkType; // NETWORK_TYPE_*
    WORD DSChannel;   // only the low byte is written to the card
    BYTE SSID[SSID_FIELD_SIZE];
    WORD SSIDLength; // may come from outside: never trusted to be at most SSID_FIELD_SIZE
    WORD TxRate;     // rate code: 1, 2, 3, 4, 8, 15 = automatic
    BYTE PSMode;     // power saving; written only
    BYTE BSSID[BSSID_FIELD_SIZE];
    WORD LinkState; // LINK_STATE_CONNECTED = connected
    BYTE SignalStrength;
    BYTE LinkQuality;
};
