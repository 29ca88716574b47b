// The radio thresholds are kept in the profile as decimal texts; the card and the Advanced page take them
// as 16-bit numbers.
#pragma once
#include <win32api.h>

// A profile text as a threshold: decimal as strtol reads it with a 32-bit long (blanks and a sign before
// the digits, reading stops at the first other character, no digits give 0, numbers beyond the 32-bit
// range stop at its limits), then its low 16 bits. strtoll and a clamp, so that a 64-bit long on some
// builds reads a long text the way the 32-bit long of the release build does.
WORD ThresholdFromText(LPCSTR pszText);
