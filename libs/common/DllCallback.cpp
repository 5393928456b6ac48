#include "DllCallback.h"

#include <cstring>

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(20);

// Cuts at a character boundary so the caller never gets half a UTF-8 sequence.
size_t FittingLength(std::string_view text, size_t room)
{
    if (text.size() <= room)
        return text.size();
    size_t length = room;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

} // namespace

DllCallback::DllCallback(ZipCallbackFunction function, void* caller, intptr_t handle, bool fromZip)
    : m_function(function)
{
    m_record.Handle = handle;
    m_record.Caller = caller;
    m_record.Version = ZIPDLL_INTERFACE_VERSION;
    m_record.IsZipOperation = fromZip ? -1 : 0;
}

bool DllCallback::send(int32_t action, int32_t errorCode, int64_t number, std::string_view text)
{
    // Still delivered after a stop, so the caller hears why and gets its end of batch.
    if (!m_function)
        return !m_stopped;
    m_record.ActionCode = action;
    m_record.ErrorCode = errorCode;
    m_record.Number = number;
    const size_t length = FittingLength(text, ZIPDLL_TEXT_SIZE - 1);
    if (length > 0)
        std::memcpy(m_record.Text, text.data(), length);
    std::memset(m_record.Text + length, 0, ZIPDLL_TEXT_SIZE - length);
    if (m_function(&m_record) == -1)
        m_stopped = true;
    return !m_stopped;
}

bool DllCallback::progress(int64_t bytes)
{
    m_pendingBytes += bytes;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastProgress < kProgressInterval)
        return !m_stopped;
    m_lastProgress = now;
    return flushProgress();
}

bool DllCallback::flushProgress()
{
    if (m_pendingBytes == 0)
        return !m_stopped;
    const int64_t bytes = m_pendingBytes;
    m_pendingBytes = 0;
    return send(ZCB_PROGRESS, 0, bytes);
}

std::string DllCallback::answerText() const
{
    return std::string(m_record.Text, strnlen(m_record.Text, ZIPDLL_TEXT_SIZE));
}
