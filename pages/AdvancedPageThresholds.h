// The thresholds of the Advanced page: their ranges and steps, the profile's decimal texts as numbers, and
// where a moved slider comes to rest.
#pragma once
#include <win32api.h>

enum {
    FRAG_THRESHOLD_MIN = 256,
    RTS_THRESHOLD_MIN = 0,
    THRESHOLD_MAX = 2432, // the top of both ranges: the setting is off ("( Disabled )")
    FRAG_THRESHOLD_STEP = 128,
    RTS_THRESHOLD_STEP = 64,
};

// A profile text as a threshold: decimal as strtol reads it with a 32-bit long (blanks and a sign before
// the digits, reading stops at the first other character, no digits give 0, numbers beyond the 32-bit
// range stop at its limits), then its low 16 bits.
int ThresholdFromText(LPCSTR pszText);

// The multiple of nStep nearest to nPosition, halves upward.
int SnapThreshold(int nPosition, int nStep);
