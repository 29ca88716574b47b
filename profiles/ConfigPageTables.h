// The fixed tables of the Configuration page and the conversions between what its lists show and what the
// working profile holds. No window work here, so each rule can be checked on its own.
#pragma once
#include <win32api.h>

enum {
    // Positions of the wireless mode list; NetworkType 3 has no entry.
    CONFIG_MODE_AD_HOC = 0,
    CONFIG_MODE_INFRASTRUCTURE = 1,
    // Positions of the power-saving list, which are also the PSMode values they stand for.
    CONFIG_POWER_SAVING_OFF = 0,
    CONFIG_POWER_SAVING_ON = 1,

    CONFIG_RATE_COUNT = 6,
    CONFIG_CHANNEL_COUNT_MAX = 14,        // bits 0 .. 13 of the channel mask
    CONFIG_CHANNEL_MASK_FALLBACK = 0x7FF, // channels 1 to 11, when the card does not say
    CONFIG_SSID_LIMIT = 32,               // the SSID edit accepts no more
    PROFILE_NAME_LIMIT = 19,              // what the page lets the user type and create
    PROFILE_LIST_LIMIT = 30,              // subkeys listed at most
    PROFILE_LIST_NAME_SIZE = 250,         // buffer for one listed name
    PROFILE_TYPED_TEXT_SIZE = 32,         // the edit text that completion looks at: 31 characters

    // Restore Defaults.
    CONFIG_DEFAULT_CHANNEL = 6,
    CONFIG_DEFAULT_RATE = 15,
};

extern const char g_szDefaultSsid[]; // "any"

// The transfer rate list: the text (string id) at each position and the rate code it stands for.
UINT GetRateTextId(int nPosition);
// Position of a rate code, or -1 when the table has no entry for it.
int GetRatePosition(WORD wRateCode);
// Rate code of a position; FALSE (and *pwRateCode untouched) for a position outside the table.
BOOL GetRateCode(int nPosition, WORD* pwRateCode);

// The NetworkType shown at a position of the mode list; FALSE for no selection or an unknown position.
BOOL GetModeNetworkType(int nPosition, BYTE* pbNetworkType);
// Position of a NetworkType in the mode list, -1 when it has no entry (3 and anything unknown).
int GetModePosition(BYTE bNetworkType);
// Ad-hoc layout (channel list on, power saving off) for the two ad hoc types 0 and 3; every other type gets
// the infrastructure layout.
BOOL IsAdHocLayout(BYTE bNetworkType);

// Position of a PSMode value in the power-saving list, -1 for a value with no entry.
int GetPowerSavingPosition(int nPSMode);

// The allowed channels of a mask in increasing order (bit i = channel i + 1, bits 14 and 15 ignored).
// Returns how many were written to anChannels.
int BuildChannelList(WORD wMask, int (&anChannels)[CONFIG_CHANNEL_COUNT_MAX]);

// One WEP key from its text: byte i is the hexadecimal digit pair at characters 2i and 2i + 1.
// Design decision: a pair counts its leading hexadecimal digits only, as a base-16 conversion reads them,
// so a pair whose first character is missing or no digit is 0, and "A" followed by the end of the text or
// by a non-digit is 0x0A. A key text never set up therefore gives zero bytes. Exactly cbKey bytes are
// written; the text is not read past its terminating zero.
void ParseWepKeyText(LPCSTR pszText, BYTE* pbKey, int cbKey);

// Whether a name not yet in the list may become a new profile. Design decision: profile names are key
// names, so the page refuses an empty name (it would name the profile list key itself), a name with a
// backslash (a deeper key) and a name longer than PROFILE_NAME_LIMIT (the list takes names into 20-byte
// buffers). The edit field also accepts no more than PROFILE_NAME_LIMIT characters, so a longer name can
// only come from editing a longer entry made outside this program; such entries stay usable as they are.
BOOL IsNewProfileNameAcceptable(LPCSTR pszName);
