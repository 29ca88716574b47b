// The single requests that the compound operations are made of.
#include "adapter/WlanAdapter.h"

#include <cstring>

#include "adapter/NdisRequests.h"

// A query whose answer must fill the buffer exactly. The buffer is the caller's scratch, so a failed or short
// answer never reaches a record field; it goes to the driver zeroed.
BOOL CWlanAdapter::QueryExactLocked(const CAdapterName& name, DWORD dwOid, BYTE* pBuffer, DWORD cbBuffer) {
    std::memset(pBuffer, 0, cbBuffer);
    DWORD cbWritten = 0;
    return QueryLocked(name, dwOid, pBuffer, cbBuffer, &cbWritten) && cbWritten == cbBuffer;
}

BOOL CWlanAdapter::ReadCardRecordLocked(const CAdapterName& name, WORD wRecordId,
                                        CARD_RECORD_ENVELOPE* pEnvelope, LPDWORD pcbAnswer) {
    InitCardRecordRead(pEnvelope, wRecordId);
    *pcbAnswer = 0;
    return QueryLocked(name, OID_CARD_RECORD, pEnvelope->abBytes, sizeof(pEnvelope->abBytes), pcbAnswer);
}

BOOL CWlanAdapter::WriteCardRecordWordLocked(const CAdapterName& name, WORD wRecordId, WORD wValue) {
    CARD_RECORD_ENVELOPE envelope;
    InitCardRecordWord(&envelope, wRecordId, wValue);
    return SetLocked(name, OID_CARD_RECORD, envelope.abBytes, sizeof(envelope.abBytes));
}

BOOL CWlanAdapter::WriteConfigItemLocked(const CAdapterName& name, DWORD dwItemCode, const void* pValue,
                                         DWORD cbValue) {
    CONFIG_ITEM_ENVELOPE envelope;
    if (!InitConfigItem(&envelope, dwItemCode, pValue, cbValue))
        return 0;
    return SetLocked(name, OID_CONFIG_ITEM, envelope.abBytes, sizeof(envelope.abBytes));
}

BOOL CWlanAdapter::CommitLocked(const CAdapterName& name) {
    return SetLocked(name, OID_COMMIT, nullptr, 0);
}
