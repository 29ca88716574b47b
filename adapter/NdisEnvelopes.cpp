#include "adapter/NdisEnvelopes.h"

#include <cstring>

WORD GetLeWord(const BYTE* pb) {
    return (WORD)(pb[0] | (pb[1] << 8));
}

DWORD GetLeDword(const BYTE* pb) {
    return (DWORD)pb[0] | ((DWORD)pb[1] << 8) | ((DWORD)pb[2] << 16) | ((DWORD)pb[3] << 24);
}

void PutLeWord(BYTE* pb, WORD w) {
    pb[0] = (BYTE)(w & 0xFF);
    pb[1] = (BYTE)(w >> 8);
}

void PutLeDword(BYTE* pb, DWORD dw) {
    PutLeWord(pb, (WORD)(dw & 0xFFFF));
    PutLeWord(pb + 2, (WORD)(dw >> 16));
}

void InitCardRecordRead(CARD_RECORD_ENVELOPE* pEnvelope, WORD wRecordId) {
    std::memset(pEnvelope->abBytes, 0, sizeof(pEnvelope->abBytes));
    PutLeWord(pEnvelope->abBytes + CARD_RECORD_ID_OFFSET, wRecordId);
}

void InitCardRecordWord(CARD_RECORD_ENVELOPE* pEnvelope, WORD wRecordId, WORD wValue) {
    InitCardRecordRead(pEnvelope, wRecordId);
    PutLeWord(pEnvelope->abBytes + CARD_RECORD_LENGTH_OFFSET, 2);
    PutLeWord(pEnvelope->abBytes + CARD_RECORD_DATA_OFFSET, wValue);
}

BOOL IsCardRecordAnswerSizeValid(DWORD cbAnswer) {
    return cbAnswer <= CARD_RECORD_SIZE;
}

BOOL GetCardRecordWord(const CARD_RECORD_ENVELOPE* pEnvelope, DWORD cbAnswer, UINT nWord, WORD* pwValue) {
    if (!IsCardRecordAnswerSizeValid(cbAnswer) || nWord >= CARD_RECORD_DATA_SIZE / 2)
        return 0;
    DWORD dwOffset = CARD_RECORD_DATA_OFFSET + 2 * nWord;
    if (cbAnswer < dwOffset + 2)
        return 0;
    *pwValue = GetLeWord(pEnvelope->abBytes + dwOffset);
    return 1;
}

BOOL InitConfigItem(CONFIG_ITEM_ENVELOPE* pEnvelope, DWORD dwItemCode, const void* pValue, DWORD cbValue) {
    std::memset(pEnvelope->abBytes, 0, sizeof(pEnvelope->abBytes));
    if (cbValue > CONFIG_ITEM_VALUE_SIZE || (pValue == nullptr && cbValue != 0))
        return 0;
    PutLeDword(pEnvelope->abBytes + CONFIG_ITEM_CODE_OFFSET, dwItemCode);
    PutLeDword(pEnvelope->abBytes + CONFIG_ITEM_LENGTH_OFFSET, cbValue);
    if (cbValue != 0)
        std::memcpy(pEnvelope->abBytes + CONFIG_ITEM_VALUE_OFFSET, pValue, cbValue);
    return 1;
}

void InitConfigItemByte(CONFIG_ITEM_ENVELOPE* pEnvelope, DWORD dwItemCode, BYTE bValue) {
    InitConfigItem(pEnvelope, dwItemCode, &bValue, 1);
}

void InitConfigItemWord(CONFIG_ITEM_ENVELOPE* pEnvelope, DWORD dwItemCode, WORD wValue) {
    BYTE abValue[2];
    PutLeWord(abValue, wValue);
    InitConfigItem(pEnvelope, dwItemCode, abValue, sizeof(abValue));
}
