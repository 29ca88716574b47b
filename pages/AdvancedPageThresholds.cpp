#include "pages/AdvancedPageThresholds.h"

#include <cstdlib>

// strtoll and a clamp, so that a 64-bit long on some builds reads a long text the way the 32-bit long of
// the release build does.
int ThresholdFromText(LPCSTR pszText) {
    if (pszText == nullptr)
        return 0;
    long long llValue = std::strtoll(pszText, nullptr, 10);
    if (llValue > 0x7FFFFFFFLL)
        llValue = 0x7FFFFFFFLL;
    else if (llValue < -0x80000000LL)
        llValue = -0x80000000LL;
    return (int)(llValue & 0xFFFF);
}

int SnapThreshold(int nPosition, int nStep) {
    const int nShifted = nPosition + nStep / 2;
    int nSteps = nShifted / nStep;
    if (nShifted < 0 && nShifted % nStep != 0)
        --nSteps; // floor, also below zero
    return nSteps * nStep;
}
