// The transcript's folding of repeated requests, and the readable difference with an expected transcript.
#include "ExpectedFile.h"
#include "Transcript.h"

#include <gtest/gtest.h>

namespace {

TEST(TranscriptTest, FoldsARunOfIdenticalRequestsOfOneThread) {
    runner::Transcript t;
    t.AddRequest(1000, 3, "request query 0xFF010199 value=0100");
    t.AddRequest(2000, 3, "request query 0xFF010199 value=0100");
    t.AddRequest(3000, 3, "request query 0xFF010199 value=0100");
    t.AddRequest(3000, 2, "request query 0xFF010199 value=0100"); // another thread breaks the run
    t.AddRequest(4000, 3, "request query 0xFF010199 value=0400");
    t.Add(5000, 1, "script 2: wait 1s");
    const std::vector<std::string> expected = {
        "[    1.000s] t3  request query 0xFF010199 value=0100",
        "[    3.000s] t3    ... the same 2 more times from 2.000s",
        "[    3.000s] t2  request query 0xFF010199 value=0100",
        "[    4.000s] t3  request query 0xFF010199 value=0400",
        "[    5.000s] t1  script 2: wait 1s",
    };
    EXPECT_EQ(expected, t.Lines());
    EXPECT_EQ(6u, t.Changes()); // folded requests still count as changes for waiting commands
}

TEST(TranscriptTest, AnotherEventBetweenTwoRequestsKeepsBoth) {
    runner::Transcript t;
    t.AddRequest(1000, 3, "request A");
    t.Add(1500, 3, "tray change icon 186");
    t.AddRequest(2000, 3, "request A");
    t.Flush();
    EXPECT_EQ(3u, t.Lines().size());
}

TEST(ExpectedFileTest, EqualTextsHaveNoDifference) {
    EXPECT_EQ("", runner::UnifiedDiff({"a", "b"}, {"a", "b"}, "x.expected"));
}

TEST(ExpectedFileTest, ShowsChangedLinesWithContextAndTheirPlace) {
    std::vector<std::string> expected;
    for (int i = 1; i <= 20; ++i)
        expected.push_back("line " + std::to_string(i));
    std::vector<std::string> actual = expected;
    actual[9] = "line ten";
    actual.push_back("line 21");
    const std::string diff = runner::UnifiedDiff(expected, actual, "x.expected");
    EXPECT_EQ("--- x.expected (expected)\n"
              "+++ this run\n"
              "@@ expected line 7 @@\n"
              " line 7\n line 8\n line 9\n"
              "-line 10\n"
              "+line ten\n"
              " line 11\n line 12\n line 13\n"
              "@@ expected line 18 @@\n"
              " line 18\n line 19\n line 20\n"
              "+line 21\n",
              diff);
}

} // namespace
