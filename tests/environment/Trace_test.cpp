#include "environment/Trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Exceptions.h"

namespace vh {
namespace {

TEST(Trace, DiscardsWithoutASinkAndReportsToATestSink) {
    Trace("nobody listens");  // must simply return
    std::vector<std::string> seen;
    SetTraceSinkForTesting([&](char kind, std::string_view text) { seen.push_back(kind + std::string(text)); });
    Trace("tmrScanTimer started");
    TraceException(ErrorTraceText(EAssertionFailed("boom"), "TfrmMain.tmrScanTimer"));
    SetTraceSinkForTesting(nullptr);
    Trace("after");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "EtmrScanTimer started");
    EXPECT_EQ(seen[1], "XErrorClassName: EAssertionFailed; TfrmMain.tmrScanTimer: boom");
}

TEST(Trace, AThrowingSinkNeverReachesTheCaller) {
    SetTraceSinkForTesting([](char, std::string_view) { throw std::runtime_error("sink"); });
    EXPECT_NO_THROW(Trace("x"));
    SetTraceSinkForTesting(nullptr);
}

}  // namespace
}  // namespace vh
