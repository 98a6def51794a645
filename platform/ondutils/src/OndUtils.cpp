#include "ondrelo/OndUtils.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

namespace {

thread_local std::uint32_t t_lastError = 0;

std::mutex& RecordsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::deque<ondrelo::utils::STraceRecord>& Records() {
    static std::deque<ondrelo::utils::STraceRecord> records;
    return records;
}

bool PrintTraces() {
    const char* flag = std::getenv("ONDRELO_TRACE");
    return flag != nullptr && std::strcmp(flag, "1") == 0;
}

void Record(const std::string& reason) {
    ondrelo::utils::STraceRecord record;
    record.error = t_lastError;
    record.reason = reason;
    char code[32];
    std::snprintf(code, sizeof code, record.error >= 0x80000000u ? "0x%08X" : "%u", record.error);
    record.text = (reason.empty() ? std::string() : reason + ": ") + "error " + code + " (" +
                  ondrelo::utils::DescribeError(record.error) + ")";
    if (PrintTraces()) {
        std::fprintf(stderr, "ondrelo trace: %s\n", record.text.c_str());
    }
    std::lock_guard<std::mutex> lock(RecordsMutex());
    auto& records = Records();
    records.push_back(std::move(record));
    while (records.size() > ondrelo::utils::kMaxTraceRecords) {
        records.pop_front();
    }
}

}  // namespace

void SetLastError(std::uint32_t code) {
    t_lastError = code;
}

std::uint32_t GetLastError() {
    return t_lastError;
}

void TraceLastError() {
    Record(std::string());
}

void TraceLastError(const std::string& reason) {
    Record(reason);
}

namespace ondrelo::utils {

std::vector<STraceRecord> TraceRecords() {
    std::lock_guard<std::mutex> lock(RecordsMutex());
    return {Records().begin(), Records().end()};
}

void ClearTraceRecords() {
    std::lock_guard<std::mutex> lock(RecordsMutex());
    Records().clear();
}

std::string DescribeError(std::uint32_t code) {
    struct SKnown {
        std::uint32_t code;
        const char* text;
    };
    // The settings-store statuses and the component statuses in use.
    static const SKnown known[] = {
        {0, "no error"},
        {1, "false"},
        {2, "key or value not found"},
        {5, "access denied"},
        {6, "invalid handle"},
        {87, "invalid parameter"},
        {234, "more data is available"},
        {259, "no more items"},
        {1011, "the settings store cannot be opened"},
        {1013, "the settings store cannot be written"},
        {0x80004001u, "not implemented"},
        {0x80004002u, "no such interface"},
        {0x80004003u, "invalid pointer"},
        {0x80004005u, "unspecified failure"},
        {0x8000FFFFu, "unexpected failure"},
        {0x8007000Eu, "out of memory"},
        {0x80070057u, "invalid argument"},
        {0x80040110u, "class does not support aggregation"},
        {0x80040111u, "class not available"},
        {0x80040154u, "class not registered"},
        {0x800401F0u, "component library not initialised on this thread"},
        {0x800401F3u, "invalid class string"},
        {0x800401F8u, "library not found"},
        {0x800401F9u, "error in library"},
        {0x80020009u, "a registration script that cannot be parsed"},
    };
    for (const auto& entry : known) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    if ((code & 0xFFFF0000u) == 0x80070000u) {
        // A settings-store status carried as a component status.
        const std::uint32_t status = code & 0xFFFFu;
        for (const auto& entry : known) {
            if (entry.code == status && status > 1) {
                return entry.text;
            }
        }
        return "system error " + std::to_string(status);
    }
    if (code < 0x10000u) {
        return std::strerror(static_cast<int>(code));
    }
    return "unknown error";
}

}  // namespace ondrelo::utils
