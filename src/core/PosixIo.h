// Small wrappers over POSIX calls that must be repeated until done.
#pragma once

#include <QByteArray>

// Writes all bytes, resuming after interrupted or partial writes; false on an error
// (errno tells which) or when nothing more can be written.
bool WriteAll(int fd, const char* data, qsizetype size);
inline bool WriteAll(int fd, const QByteArray& bytes) { return WriteAll(fd, bytes.constData(), bytes.size()); }
