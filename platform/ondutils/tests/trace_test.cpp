#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "ondrelo/OndUtils.h"

namespace {

using ondrelo::utils::ClearTraceRecords;
using ondrelo::utils::TraceRecords;

class Trace : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("ONDRELO_TRACE");
        ClearTraceRecords();
        SetLastError(0);
    }
};

TEST_F(Trace, RecordsTheLastErrorAndTheReasonSilently) {
    SetLastError(259);
    testing::internal::CaptureStderr();
    TraceLastError();
    TraceLastError("module list enumeration ended");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const auto records = TraceRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].error, 259u);
    EXPECT_EQ(records[0].text, "error 259 (no more items)");
    EXPECT_EQ(records[1].text, "module list enumeration ended: error 259 (no more items)");
}

TEST_F(Trace, PrintsToStandardErrorWhenAsked) {
    setenv("ONDRELO_TRACE", "1", 1);
    SetLastError(0x80040154u);
    testing::internal::CaptureStderr();
    TraceLastError("creating the module");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ondrelo trace: creating the module: error 0x80040154 (class not registered)\n");
    setenv("ONDRELO_TRACE", "0", 1);
    testing::internal::CaptureStderr();
    TraceLastError();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Trace, LastErrorIsPerThreadAndRecordsAreBounded) {
    SetLastError(5);
    std::thread other([] {
        EXPECT_EQ(GetLastError(), 0u);
        SetLastError(2);
        TraceLastError("other thread");
    });
    other.join();
    EXPECT_EQ(GetLastError(), 5u);
    ASSERT_EQ(TraceRecords().size(), 1u);
    EXPECT_EQ(TraceRecords()[0].error, 2u);

    for (std::size_t i = 0; i < ondrelo::utils::kMaxTraceRecords + 10; ++i) {
        TraceLastError("entry " + std::to_string(i));
    }
    const auto records = TraceRecords();
    ASSERT_EQ(records.size(), ondrelo::utils::kMaxTraceRecords);
    EXPECT_EQ(records.back().reason,
              "entry " + std::to_string(ondrelo::utils::kMaxTraceRecords + 9));
}

TEST_F(Trace, DescribesStoreComponentAndSystemCodes) {
    EXPECT_EQ(ondrelo::utils::DescribeError(2), "key or value not found");
    EXPECT_EQ(ondrelo::utils::DescribeError(0x800401F0u),
              "component library not initialised on this thread");
    EXPECT_EQ(ondrelo::utils::DescribeError(0x80070020u), "system error 32");
    // Store statuses carried as component statuses, and the parser's status.
    EXPECT_EQ(ondrelo::utils::DescribeError(0x800703F3u), "the settings store cannot be opened");
    EXPECT_EQ(ondrelo::utils::DescribeError(0x80070005u), "access denied");
    EXPECT_EQ(ondrelo::utils::DescribeError(0x80020009u),
              "a registration script that cannot be parsed");
    EXPECT_FALSE(ondrelo::utils::DescribeError(EPIPE).empty());
    EXPECT_EQ(ondrelo::utils::DescribeError(0x12345678u), "unknown error");
}

}  // namespace
