// Reading the link and writing the basic configuration (network type, SSID, rate, power saving, channel).
#include "adapter/WlanAdapter.h"

#include <cstring>

#include "adapter/NdisRequests.h"

namespace {

enum {
    DETAIL_FULL = 0,    // also network type, rate, channel and SSID
    DETAIL_CHANNEL = 1, // also channel and SSID
    DETAIL_BRIEF = 2,   // link state, BSSID, signal and quality only
};

// The record's own SSID length may come from outside; never use more bytes than the field holds.
DWORD BoundedSsidLength(WORD wLength) {
    return wLength < SSID_FIELD_SIZE ? wLength : (DWORD)SSID_FIELD_SIZE;
}

// The first data word and the bytes after it are read from the answer: it has to hold at least that word,
// and no more than the envelope.
BOOL IsRecordAnswerUsable(DWORD cbAnswer) {
    return IsCardRecordAnswerSizeValid(cbAnswer) && cbAnswer >= CARD_RECORD_DATA_OFFSET + 2;
}

} // namespace

BOOL CWlanAdapter::ReadLinkStatus(const CAdapterName& name, LinkStatus* pStatus, int nDetail) {
    CChannelLockScope scope(m_lock);
    BYTE abAnswer[MAC_ADDRESS_SIZE];

    if (!QueryExactLocked(name, OID_LINK_STATE, abAnswer, LINK_STATE_SIZE))
        return 0;
    pStatus->LinkState = GetLeWord(abAnswer);
    // Not connected: the other fields keep what the last connected read found.
    if (pStatus->LinkState != LINK_STATE_CONNECTED)
        return 1;

    if (nDetail == DETAIL_FULL) {
        if (!QueryExactLocked(name, OID_NETWORK_TYPE, abAnswer, NETWORK_TYPE_SIZE))
            return 0;
        pStatus->NetworkType = abAnswer[0];
        if (!QueryExactLocked(name, OID_TX_RATE, abAnswer, TX_RATE_SIZE))
            return 0;
        pStatus->TxRate = GetLeWord(abAnswer);
    } else if (nDetail != DETAIL_CHANNEL && nDetail != DETAIL_BRIEF) {
        return 1;
    }

    if (nDetail != DETAIL_BRIEF) {
        CARD_RECORD_ENVELOPE envelope;
        DWORD cbAnswer = 0;
        if (!ReadCardRecordLocked(name, RID_CURRENT_CHANNEL, &envelope, &cbAnswer) ||
            !IsRecordAnswerUsable(cbAnswer))
            return 0;
        GetCardRecordWord(&envelope, cbAnswer, 0, &pStatus->DSChannel);

        if (!ReadCardRecordLocked(name, RID_CURRENT_SSID, &envelope, &cbAnswer) ||
            !IsRecordAnswerUsable(cbAnswer))
            return 0;
        // The SSID bytes follow the length word; bytes past the answer are the envelope's zeros.
        GetCardRecordWord(&envelope, cbAnswer, 0, &pStatus->SSIDLength);
        std::memcpy(pStatus->SSID, envelope.abBytes + CARD_RECORD_DATA_OFFSET + 2, SSID_FIELD_SIZE);
    }

    if (!QueryExactLocked(name, OID_BSSID, abAnswer, MAC_ADDRESS_SIZE))
        return 0;
    std::memcpy(pStatus->BSSID, abAnswer, BSSID_FIELD_SIZE);

    // Signal and quality mean something only to a station of an infrastructure network. At the lower detail
    // levels the network type is the one an earlier full read left in the record.
    if (pStatus->NetworkType != NETWORK_TYPE_INFRASTRUCTURE)
        return 1;
    if (!QueryExactLocked(name, OID_SIGNAL_LEVEL, abAnswer, SIGNAL_LEVEL_SIZE))
        return 0;
    pStatus->SignalStrength = abAnswer[0];
    if (!QueryExactLocked(name, OID_LINK_QUALITY, abAnswer, LINK_QUALITY_SIZE))
        return 0;
    pStatus->LinkQuality = abAnswer[0];
    return 1;
}

BOOL CWlanAdapter::ApplyBasicConfig(const CAdapterName& name, const LinkStatus* pWanted) {
    CChannelLockScope scope(m_lock);
    if (m_bForceRewrite.exchange(0) != 0)
        std::memset(&m_BasicCache, 0xFF, sizeof(m_BasicCache));

    BOOL bChanged = 0;
    BOOL bTypeWritten = 0;

    if (pWanted->NetworkType != m_BasicCache.NetworkType) {
        BYTE bType = pWanted->NetworkType;
        if (!SetLocked(name, OID_NETWORK_TYPE, &bType, NETWORK_TYPE_SIZE))
            return 0;
        m_BasicCache.NetworkType = bType;
        bChanged = bTypeWritten = 1;
    }

    const DWORD cbSsid = BoundedSsidLength(pWanted->SSIDLength);
    if (pWanted->SSIDLength != m_BasicCache.SSIDLength ||
        std::memcmp(pWanted->SSID, m_BasicCache.SSID, cbSsid) != 0) {
        if (!WriteConfigItemLocked(name, ITEM_DESIRED_SSID, pWanted->SSID, cbSsid))
            return 0;
        m_BasicCache.SSIDLength = pWanted->SSIDLength;
        std::memcpy(m_BasicCache.SSID, pWanted->SSID, cbSsid);
        bChanged = 1;
    }

    if (pWanted->TxRate != m_BasicCache.TxRate) {
        BYTE abRate[TX_RATE_SIZE];
        PutLeWord(abRate, pWanted->TxRate);
        if (!SetLocked(name, OID_TX_RATE, abRate, sizeof(abRate)))
            return 0;
        m_BasicCache.TxRate = pWanted->TxRate;
        bChanged = 1;
    }

    if (pWanted->PSMode != m_BasicCache.PSMode) {
        const BYTE bItem = (BYTE)(pWanted->PSMode + 1);
        if (!WriteConfigItemLocked(name, ITEM_POWER_SAVING, &bItem, 1))
            return 0;
        m_BasicCache.PSMode = pWanted->PSMode;
        bChanged = 1;
    }

    // The channel always follows a new network type, changed or not.
    if (bTypeWritten || pWanted->DSChannel != m_BasicCache.DSChannel) {
        const BYTE bChannel = LOBYTE(pWanted->DSChannel);
        if (!WriteConfigItemLocked(name, ITEM_CHANNEL, &bChannel, 1))
            return 0;
        m_BasicCache.DSChannel = pWanted->DSChannel;
        bChanged = 1;
    }

    return bChanged ? CommitLocked(name) : 1;
}
