// The thresholds of the Advanced page: their ranges and steps, and where a moved slider comes to rest. The
// profile's texts become numbers by ThresholdFromText.
#pragma once
#include <win32api.h>

#include "adapter/ThresholdText.h"

enum {
    FRAG_THRESHOLD_MIN = 256,
    RTS_THRESHOLD_MIN = 0,
    THRESHOLD_MAX = 2432, // the top of both ranges: the setting is off ("( Disabled )")
    FRAG_THRESHOLD_STEP = 128,
    RTS_THRESHOLD_STEP = 64,
};

// The multiple of nStep nearest to nPosition, halves upward.
int SnapThreshold(int nPosition, int nStep);
