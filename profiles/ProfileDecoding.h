// How the profile store turns one registry value into working-profile fields. Pure: no registry, no
// globals, so every rule can be checked on its own and fed arbitrary bytes.
//
// The Windows kind decides the decoding, not the type the registry reports: Windows 2000 and the 9x family
// keep numbers as decimal text, NT 4 as 32-bit numbers. A value that is not what its kind expects is still
// decoded by the kind's rule (below), so every value has one defined outcome.
#pragma once
#include <win32api.h>

#include "sheet/WorkingProfile.h"

enum {
    // The enumeration's buffers: a value name of up to 63 characters and 256 bytes of data. What does not
    // fit ends the enumeration before it reaches the decoder.
    PROFILE_VALUE_NAME_SIZE = 64,
    PROFILE_VALUE_DATA_SIZE = 256,
};

// The text of a value: its bytes up to the count the registry reported or up to the first zero byte,
// whichever comes first. Returns the number of characters.
DWORD ProfileTextLength(const BYTE* pbData, DWORD cbData);

// The number formed by the leading decimal digits of the first cchText characters (0 when there are none).
// Digits beyond what 32 bits hold wrap around, so the low 8 and 16 bits that the fields keep are those of the
// whole number however long the text.
DWORD ProfileDecimalValue(LPCSTR pszText, DWORD cchText);

// NT 4's number: the first four bytes, least significant first. Design decision: a value of another size is
// read as far as it goes (missing high bytes count as zero, bytes past the fourth are ignored), so a REG_SZ
// "11" stored on NT 4 reads as 0x3131, and empty data as 0.
DWORD ProfileNumberValue(const BYTE* pbData, DWORD cbData);

// Decodes one value into the field of the same name; a name the store does not keep (compared exactly,
// letter case included) changes nothing. bNumbers is TRUE on NT 4. At most PROFILE_VALUE_DATA_SIZE bytes are
// looked at. Returns TRUE when the name was one of the profile's values.
BOOL DecodeProfileValue(CWorkingProfile* pProfile, LPCSTR pszName, const BYTE* pbData, DWORD cbData,
                        BOOL bNumbers);
