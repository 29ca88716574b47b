// The WEP key texts of the Encryption page: key text to key bytes, key bytes to text, and the keys made
// from a passphrase.
#pragma once
#include <win32api.h>

#include "fw/Framework.h"

enum {
    WEP64_KEY_TEXT_LENGTH = 10,  // two hexadecimal digits for each of the 5 bytes of a 64-bit key
    WEP128_KEY_TEXT_LENGTH = 26, // and of the 13 bytes of a 128-bit key
};

// Byte j of the key comes from characters 2j and 2j+1 of the text, read as a number of their own the way
// strtol reads base 16 (leading blanks and a sign accepted, reading stops at the first character that is
// not a digit, no digit gives 0); the byte is the low 8 bits. Only the length of a key text is ever
// checked, so "G1" gives 0x00, "1G" 0x01, " F" 0x0F and "-1" 0xFF. A text shorter than 2 * cbKey gives
// zeros for the missing characters.
void WepKeyFromText(LPCSTR pszText, BYTE* pbKey, int cbKey);

// The key as two upper-case hexadecimal digits a byte.
CString WepKeyToText(const BYTE* pbKey, int cbKey);

// The cbKey bytes a passphrase makes: with S the sum of its characters taken as signed 8-bit values, byte
// i is the low 8 bits of character (i mod length) times S. 0 for an empty passphrase (no key).
int WepKeyFromPassphrase(LPCSTR pszPassphrase, BYTE* pbKey, int cbKey);
