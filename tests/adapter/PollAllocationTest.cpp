// The monitor thread polls the link state about once a second for the life of the program: the poll must not
// touch the heap.
#include <memory>

#include "AdapterFixture.h"
#include "AllocationCounter.h"
#include "adapter/NdisRequests.h"

TEST_F(AdapterTest, TheLinkStatePollAllocatesNothing) {
    g_bCardPresent = 1;
    fakelib::AnswerQuery(OID_LINK_STATE, {0x01, 0x00});
    BYTE ab[2];
    DWORD cb = 0;
    ASSERT_EQ(1, m_adapter.QueryOid(m_name, OID_LINK_STATE, ab, sizeof(ab), &cb)); // opens the adapter
    fakelib::SetRecording(false);

    const std::uint64_t before = testsupport::AllocationCount();
    BOOL bAll = 1;
    for (int i = 0; i < 100; ++i)
        bAll &= m_adapter.QueryOid(m_name, OID_LINK_STATE, ab, sizeof(ab), &cb);
    const std::uint64_t nAllocations = testsupport::AllocationCount() - before;

    EXPECT_EQ(1, bAll);
    EXPECT_EQ(0u, nAllocations);
    // The counter does see an allocation, or the check above proves nothing.
    const std::uint64_t beforeProbe = testsupport::AllocationCount();
    auto probe = std::make_unique<int>(1);
    EXPECT_EQ(1u, testsupport::AllocationCount() - beforeProbe);
}
