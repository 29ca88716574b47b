// Driver answers of any length and content, read by the envelope decoders and by the compound operations of
// the driver channel over a scripted driver-access library.
//
// Input: one byte of flags (bit 0: the card counts as present; bits 1-2: ReadLinkStatus detail), two bytes
// of a record answer size and a word index for the decoder, then the script of the library's answers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "ScriptedDriverLibrary.h"
#include "adapter/NdisEnvelopes.h"
#include "adapter/WlanAdapter.h"
#include "common/Globals.h"

namespace {

void Check(bool bHolds, const char* pszWhat) {
    if (!bHolds) {
        std::fprintf(stderr, "invariant broken: %s\n", pszWhat);
        std::abort();
    }
}

// A record word is handed out only from inside the answer and the envelope.
void CheckRecordDecoder(CFuzzInput& input) {
    CARD_RECORD_ENVELOPE envelope;
    std::size_t cbGot = 0;
    std::memset(&envelope, 0, sizeof(envelope));
    const std::uint8_t* pb = input.Bytes(sizeof(envelope), &cbGot);
    std::memcpy(envelope.abBytes, pb, cbGot);
    const DWORD cbAnswer = input.Word();
    const UINT nWord = input.Word();
    WORD wValue = 0xBEEF;
    const BOOL bGot = GetCardRecordWord(&envelope, cbAnswer, nWord, &wValue);
    const DWORD dwEnd = CARD_RECORD_DATA_OFFSET + 2 * static_cast<DWORD>(nWord) + 2;
    Check(bGot == (cbAnswer <= CARD_RECORD_SIZE && dwEnd <= cbAnswer), "a word only from inside the answer");
    Check(bGot || wValue == 0xBEEF, "a failed read leaves the word alone");

    CONFIG_ITEM_ENVELOPE item;
    const DWORD cbValue = input.Word() % 300;
    std::uint8_t abValue[300] = {};
    const BOOL bBuilt = InitConfigItem(&item, 0x01010109, abValue, cbValue);
    Check(bBuilt == (cbValue <= CONFIG_ITEM_VALUE_SIZE), "an item value fits the envelope or is refused");
    Check(bBuilt || std::memcmp(item.abBytes, CONFIG_ITEM_ENVELOPE().abBytes, sizeof(item.abBytes)) == 0,
          "a refused item leaves the envelope zero");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    CFuzzInput input(pbData, cbData);
    const std::uint8_t bFlags = input.Byte();
    CheckRecordDecoder(input);

    {
        CScriptedCard card(input, bFlags & 1);
        const CAdapterName& name = card.Name();
        CWlanAdapter adapter;
        LinkStatus status;
        std::memset(&status, 0, sizeof(status));
        adapter.ReadLinkStatus(name, &status, (bFlags >> 1) & 3);
        CardSettings settings;
        std::memset(&settings, 0, sizeof(settings));
        adapter.ReadAdvancedSettings(name, &settings);
        BYTE abAddress[6];
        DWORD cbWritten = 0;
        adapter.QueryOid(name, 0x01010102, abAddress, sizeof(abAddress), &cbWritten);
        adapter.CloseAdapter();
    }
    Check(g_nRequestsInFlight == 0, "no request is left in flight");
    return 0;
}
