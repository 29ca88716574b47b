#include "pages/AdvancedPageThresholds.h"

int SnapThreshold(int nPosition, int nStep) {
    const int nShifted = nPosition + nStep / 2;
    int nSteps = nShifted / nStep;
    if (nShifted < 0 && nShifted % nStep != 0)
        --nSteps; // floor, also below zero
    return nSteps * nStep;
}
