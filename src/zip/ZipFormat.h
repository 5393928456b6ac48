// The record signatures and sizes of the zip format and little-endian field reads, for
// every class here that takes an archive apart or writes one.
#pragma once

#include <QtEndian>
#include <cstdint>

namespace ZipFormat {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr uint32_t kZip64EndSignature = 0x06064B50;
constexpr uint32_t kSpanMarker = 0x08074B50;       // the first bytes of a spanned set
constexpr qint64 kEndRecordSize = 22;
constexpr qint64 kEndSearchSpan = kEndRecordSize + 0xFFFF;   // the record and the longest comment
constexpr qint64 kZip64LocatorSize = 20;
constexpr qint64 kZip64EndSize = 56;
constexpr qint64 kLocalHeaderSize = 30;
constexpr qint64 kCentralHeaderSize = 46;
constexpr uint16_t kZip64ExtraTag = 0x0001;
constexpr uint32_t kAllOnes32 = 0xFFFFFFFF;

inline uint16_t le16(const char* p) { return qFromLittleEndian<uint16_t>(p); }
inline uint32_t le32(const char* p) { return qFromLittleEndian<uint32_t>(p); }
inline uint64_t le64(const char* p) { return qFromLittleEndian<uint64_t>(p); }

} // namespace ZipFormat
