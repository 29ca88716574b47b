// The two envelopes of the vendor-private requests, and the one place where their bytes are built and read.
// Both are byte images exchanged with the driver; every multi-byte field is little-endian.
//
// Card record envelope (OID_CARD_RECORD), 504 bytes:
//   0  u16  record length in words, counting the record id word (the driver fills it on a read)
//   2  u16  record id
//   4  ...  record data: the data words a read returns, or the value of a write
// Configuration item envelope (OID_CONFIG_ITEM), 264 bytes:
//   0  u32  item code
//   4  u32  unused
//   8  u32  value length in bytes
//  12  ...  value bytes (a byte value in the first byte, a 16-bit value little-endian, a string as it is)
//
// The builders start from an all-zero envelope so that no stale byte ever reaches the driver.
#pragma once
#include <win32api.h>

enum {
    CARD_RECORD_SIZE = 504,
    CARD_RECORD_LENGTH_OFFSET = 0,
    CARD_RECORD_ID_OFFSET = 2,
    CARD_RECORD_DATA_OFFSET = 4,
    CARD_RECORD_DATA_SIZE = CARD_RECORD_SIZE - CARD_RECORD_DATA_OFFSET,

    CONFIG_ITEM_SIZE = 264,
    CONFIG_ITEM_CODE_OFFSET = 0,
    CONFIG_ITEM_LENGTH_OFFSET = 8,
    CONFIG_ITEM_VALUE_OFFSET = 12,
    CONFIG_ITEM_VALUE_SIZE = CONFIG_ITEM_SIZE - CONFIG_ITEM_VALUE_OFFSET,
};

struct CARD_RECORD_ENVELOPE {
    BYTE abBytes[CARD_RECORD_SIZE];
};
struct CONFIG_ITEM_ENVELOPE {
    BYTE abBytes[CONFIG_ITEM_SIZE];
};
static_assert(sizeof(CARD_RECORD_ENVELOPE) == 504, "the driver takes a 504-byte card record envelope");
static_assert(sizeof(CONFIG_ITEM_ENVELOPE) == 264, "the driver takes a 264-byte configuration item envelope");
static_assert(CARD_RECORD_DATA_SIZE == 500 && CONFIG_ITEM_VALUE_SIZE == 252, "envelope payload sizes");

// Little-endian access to the bytes exchanged with the driver.
WORD GetLeWord(const BYTE* pb);
DWORD GetLeDword(const BYTE* pb);
void PutLeWord(BYTE* pb, WORD w);
void PutLeDword(BYTE* pb, DWORD dw);

// A record read: only the record id is set.
void InitCardRecordRead(CARD_RECORD_ENVELOPE* pEnvelope, WORD wRecordId);

// A record write of one 16-bit value: length 2 (id word and value word), the id, the value.
void InitCardRecordWord(CARD_RECORD_ENVELOPE* pEnvelope, WORD wRecordId, WORD wValue);

// The largest answer a record read may report; anything beyond the envelope is a broken answer.
BOOL IsCardRecordAnswerSizeValid(DWORD cbAnswer);

// Data word nWord (0 = the first, at offset 4) of a record answer of cbAnswer bytes. Fails when the answer is
// longer than the envelope or does not reach the word; then *pwValue is not touched.
BOOL GetCardRecordWord(const CARD_RECORD_ENVELOPE* pEnvelope, DWORD cbAnswer, UINT nWord, WORD* pwValue);

// A configuration item with cbValue value bytes. Fails, leaving the envelope all zero, when the value does
// not fit.
BOOL InitConfigItem(CONFIG_ITEM_ENVELOPE* pEnvelope, DWORD dwItemCode, const void* pValue, DWORD cbValue);
void InitConfigItemByte(CONFIG_ITEM_ENVELOPE* pEnvelope, DWORD dwItemCode, BYTE bValue);
void InitConfigItemWord(CONFIG_ITEM_ENVELOPE* pEnvelope, DWORD dwItemCode, WORD wValue);
