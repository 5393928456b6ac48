// Fuzzes the decoder of messages that arrive on the single-instance socket: any bytes a
// local peer sends must be rejected or decoded, never crash, and a decoded message must
// encode back to exactly the bytes received.
#include "components/TSharedMemory.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    uint32_t message = 0;
    QByteArray payload;
    if (TSharedMemory::Decode(bytes, 4096, &message, &payload)) {
        if (payload.size() > 4096 || TSharedMemory::Encode(message, payload) != bytes)
            __builtin_trap();
    }
    return 0;
}
