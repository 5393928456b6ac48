// The line reader's table of open files (see LineReader.h).
#include "LineReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A caller's buffer size is taken as given within these bounds: at least one byte to
// make progress, and no more memory than a sane text file reader needs.
constexpr int kMinBuffer = 1;
constexpr int kMaxBuffer = 1 << 20;

struct OpenFile {
    int fd = -1;
    std::unique_ptr<char[]> buffer;
    int capacity = 0;
    int pos = 0;
    int end = 0;
    qint64 remaining = 0;     // bytes the caller's limit still allows
    bool exhausted = false;   // read() gave 0 or failed, or the limit is reached
    bool atLimit = false;     // exhausted by the limit, not by the file's end
    int error = 0;            // errno of the read that failed
};

// Guarded by g_lock.
std::mutex g_lock;
OpenFile g_files[LineReader::kMaxOpen];

OpenFile* fileOf(int handle)
{
    if (handle < 1 || handle > LineReader::kMaxOpen)
        return nullptr;
    OpenFile* f = &g_files[handle - 1];
    return f->fd >= 0 ? f : nullptr;
}

// Makes at least one unread byte available; false at the end of the file. A read
// error ends the file too: the caller sees the lines read so far.
bool fill(OpenFile& f)
{
    if (f.pos < f.end)
        return true;
    if (f.exhausted)
        return false;
    const size_t want = size_t(std::min<qint64>(f.capacity, f.remaining));
    ssize_t n = 0;
    if (want > 0) {
        do {
            n = ::read(f.fd, f.buffer.get(), want);
        } while (n < 0 && errno == EINTR);
    }
    if (n <= 0) {
        f.exhausted = true;
        f.atLimit = want == 0;
        f.error = n < 0 ? errno : 0;
        f.pos = f.end = 0;
        return false;
    }
    f.remaining -= n;
    f.pos = 0;
    f.end = int(n);
    return true;
}

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Steps over the line end at the read position into out (two bytes at most) and
// returns its length. The second half of a CR LF pair may lie in the next buffer.
int takeLineEnd(OpenFile& f, char* out)
{
    int length = 0;
    out[length++] = f.buffer[f.pos++];
    if (fill(f) && isLineEnd(f.buffer[f.pos]))
        out[length++] = f.buffer[f.pos++];
    return length;
}

} // namespace

int LineReader::open(const QByteArray& nativePath, int bufferSize, qint64 byteLimit)
{
    // O_NONBLOCK keeps a FIFO planted under the file's name from stalling the caller;
    // only regular files are read.
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return 0;
    struct stat st;
    const bool known = ::fstat(fd, &st) == 0;
    if (!known || !S_ISREG(st.st_mode)) {
        const int error = !known ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return 0;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return adopt(fd, bufferSize, byteLimit);
}

int LineReader::adopt(int fd, int bufferSize, qint64 byteLimit)
{
    const int capacity = std::clamp(bufferSize, kMinBuffer, kMaxBuffer);
    std::lock_guard<std::mutex> guard(g_lock);
    for (int i = 0; i < kMaxOpen; ++i) {
        OpenFile& f = g_files[i];
        if (f.fd >= 0)
            continue;
        f.fd = fd;
        f.buffer.reset(new char[size_t(capacity)]);
        f.capacity = capacity;
        f.pos = f.end = 0;
        f.remaining = std::max<qint64>(byteLimit, 0);
        f.exhausted = f.atLimit = false;
        f.error = 0;
        return i + 1;
    }
    ::close(fd);
    errno = EMFILE;
    return 0;
}

bool LineReader::eof(int handle)
{
    std::lock_guard<std::mutex> guard(g_lock);
    OpenFile* f = fileOf(handle);
    return !f || !fill(*f);
}

QByteArray LineReader::readLine(int handle, int maxLength, bool* truncated)
{
    if (truncated)
        *truncated = false;
    std::lock_guard<std::mutex> guard(g_lock);
    OpenFile* f = fileOf(handle);
    if (!f)
        return {};
    const qsizetype limit = std::max(maxLength, 0);
    QByteArray line;
    bool cut = false;
    bool ended = false;
    while (fill(*f)) {
        const char* start = f->buffer.get() + f->pos;
        const char* stop = f->buffer.get() + f->end;
        const char* lineEnd = std::find_if(start, stop, isLineEnd);
        const qsizetype room = limit - line.size();
        const qsizetype length = lineEnd - start;
        if (length > room)
            cut = true;
        line.append(start, std::min(length, room));
        f->pos += int(length);
        if (lineEnd == stop)
            continue;
        char end[2];
        takeLineEnd(*f, end);
        ended = true;
        break;
    }
    if (!ended && f->atLimit)
        cut = true;
    if (truncated)
        *truncated = cut;
    return line;
}

QByteArray LineReader::readPiece(int handle, int maxLength, bool* ended)
{
    *ended = false;
    std::lock_guard<std::mutex> guard(g_lock);
    OpenFile* f = fileOf(handle);
    if (!f)
        return {};
    const qsizetype limit = std::max(maxLength, 1);
    QByteArray piece;
    while (piece.size() < limit && fill(*f)) {
        const char* start = f->buffer.get() + f->pos;
        const char* stop = start + std::min<qsizetype>(f->end - f->pos, limit - piece.size());
        const char* lineEnd = std::find_if(start, stop, isLineEnd);
        piece.append(start, lineEnd - start);
        f->pos += int(lineEnd - start);
        if (lineEnd == stop)
            continue;
        char end[2];
        piece.append(end, takeLineEnd(*f, end));
        *ended = true;
        break;
    }
    return piece;
}

int LineReader::error(int handle)
{
    std::lock_guard<std::mutex> guard(g_lock);
    const OpenFile* f = fileOf(handle);
    return f ? f->error : 0;
}

void LineReader::close(int handle)
{
    std::lock_guard<std::mutex> guard(g_lock);
    OpenFile* f = fileOf(handle);
    if (!f)
        return;
    ::close(f->fd);
    *f = OpenFile();
}
