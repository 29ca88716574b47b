#include "adapter/ThresholdText.h"

#include <cstdlib>

WORD ThresholdFromText(LPCSTR pszText) {
    if (pszText == nullptr)
        return 0;
    long long llValue = std::strtoll(pszText, nullptr, 10);
    if (llValue > 0x7FFFFFFFLL)
        llValue = 0x7FFFFFFFLL;
    else if (llValue < -0x80000000LL)
        llValue = -0x80000000LL;
    return (WORD)(llValue & 0xFFFF);
}
