// Whole reads and writes on file descriptors, retried on interruption and short counts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace PosixIo {

bool ReadExactly(int fd, uint64_t offset, void* to, size_t count);
bool WriteAll(int fd, const void* data, size_t count);

} // namespace PosixIo
