// The envelope builders and readers at the edges of their buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "adapter/NdisEnvelopes.h"

TEST(EnvelopesTest, RecordWordsAreReadOnlyFromInsideTheAnswer) {
    CARD_RECORD_ENVELOPE envelope;
    InitCardRecordRead(&envelope, 0xFD88);
    envelope.abBytes[4] = 0x34;
    envelope.abBytes[5] = 0x12;
    envelope.abBytes[502] = 0xCD;
    envelope.abBytes[503] = 0xAB;
    WORD w = 0x5555;
    EXPECT_EQ(0, GetCardRecordWord(&envelope, 5, 0, &w));
    EXPECT_EQ(0x5555, w);
    EXPECT_EQ(1, GetCardRecordWord(&envelope, 6, 0, &w));
    EXPECT_EQ(0x1234, w);
    EXPECT_EQ(1, GetCardRecordWord(&envelope, 504, 249, &w));
    EXPECT_EQ(0xABCD, w);
    EXPECT_EQ(0, GetCardRecordWord(&envelope, 504, 250, &w));
    EXPECT_EQ(0, GetCardRecordWord(&envelope, 505, 0, &w));
    EXPECT_EQ(0xABCD, w);
}

TEST(EnvelopesTest, AnItemValueMustFitItsEnvelope) {
    BYTE abValue[253];
    std::memset(abValue, 0x5A, sizeof(abValue));
    CONFIG_ITEM_ENVELOPE envelope;
    ASSERT_EQ(1, InitConfigItem(&envelope, 0x01010109, abValue, 252));
    EXPECT_EQ(0x01010109u, GetLeDword(envelope.abBytes));
    EXPECT_EQ(252u, GetLeDword(envelope.abBytes + 8));
    EXPECT_EQ(0x5A, envelope.abBytes[263]);

    EXPECT_EQ(0, InitConfigItem(&envelope, 0x01010109, abValue, 253));
    const CONFIG_ITEM_ENVELOPE zero = {};
    EXPECT_EQ(0, std::memcmp(zero.abBytes, envelope.abBytes, sizeof(zero.abBytes)));
}
