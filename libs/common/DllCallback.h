// The caller's callback as both zip libraries use it. One record is filled per call and
// the caller's answer read back from it; a -1 from the caller stops the operation and
// stays in force, so every later step sees it.
#pragma once

#include "ZipDllRecords.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

class DllCallback {
public:
    DllCallback(ZipCallbackFunction function, void* caller, intptr_t handle, bool fromZip);

    // False when the caller asked to stop, now or earlier.
    bool send(int32_t action, int32_t errorCode = 0, int64_t number = 0, std::string_view text = {});
    bool message(int32_t errorCode, std::string_view text) { return send(ZCB_MESSAGE, errorCode, 0, text); }
    // Bytes done; handed on at most about 50 times a second so a fast copy is not
    // slowed down by a caller that repaints on every call.
    bool progress(int64_t bytes);
    bool flushProgress();

    bool stopped() const { return m_stopped; }
    bool present() const { return m_function != nullptr; }
    // What the caller left in the record after the last call.
    int32_t answerCode() const { return m_record.ErrorCode; }
    int64_t answerNumber() const { return m_record.Number; }
    std::string answerText() const;

private:
    ZipCallbackFunction m_function;
    ZipCallbackRecord m_record{};
    bool m_stopped = false;
    int64_t m_pendingBytes = 0;
    std::chrono::steady_clock::time_point m_lastProgress{};
};
