#include "simcard/CardConfig.h"

#include <cctype>

namespace simcard {

bool CardConfig::WantsAnySsid() const {
    if (ssid.empty())
        return true;
    if (ssid.size() != 3)
        return false;
    return std::toupper(static_cast<unsigned char>(ssid[0])) == 'A' &&
           std::toupper(static_cast<unsigned char>(ssid[1])) == 'N' &&
           std::toupper(static_cast<unsigned char>(ssid[2])) == 'Y';
}

std::size_t CardConfig::WepKeyLength() const {
    if (wepMode == 2)
        return 5;
    if (wepMode == 6)
        return 13;
    return 0;
}

bool CardConfig::operator==(const CardConfig& o) const {
    return networkType == o.networkType && ssid == o.ssid && channel == o.channel && txRate == o.txRate &&
           powerSaving == o.powerSaving && wepMode == o.wepMode && wepKeys == o.wepKeys && txKey == o.txKey &&
           authentAlg == o.authentAlg && preamble == o.preamble && fragThreshold == o.fragThreshold &&
           rtsThreshold == o.rtsThreshold && denyUnencrypted == o.denyUnencrypted;
}

bool IsValidNetworkType(unsigned v) {
    return v == 0 || v == 1 || v == 3;
}
bool IsValidRateCode(unsigned v) {
    return v == 1 || v == 2 || v == 3 || v == 4 || v == 8 || v == 15;
}
bool IsValidWepMode(unsigned v) {
    return v == 0 || v == 2 || v == 6;
}
bool IsValidChannel(unsigned v) {
    return v >= 1 && v <= 14;
}

} // namespace simcard
