// Directory search and DOS attributes on Linux (see FileAttributes.h).
//
// Listing speed matters (folders of many thousand files are listed on every refresh),
// so the search uses readdir + fstatat on the open folder and makes no allocation per
// entry beyond the name's QString.
#include "FileAttributes.h"

#include "FileNames.h"
#include "core/DosTime.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QCoreApplication>

namespace {

// The DOS bits kept in user.DOSATTRIB; read-only and directory come from the mode.
constexpr uint32_t kDosBits = faHidden | faSysFile | faArchive;
constexpr char kDosAttribName[] = "user.DOSATTRIB";

// Samba and Wine keep the bits as the text "0x20", Samba followed by a NUL and a
// binary record of its own. Only the text is read; other forms carry no bits here.
uint32_t parseDosAttrib(const char* data, ssize_t length)
{
    if (length < 3 || data[0] != '0' || (data[1] != 'x' && data[1] != 'X'))
        return 0;
    uint32_t bits = 0;
    ssize_t i = 2;
    for (; i < length && i < 10; ++i) {
        const char c = data[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        bits = (bits << 4) | uint32_t(digit);
    }
    if (i == 2 || (i < length && data[i] != '\0' && data[i] != '\n' && data[i] != ' '))
        return 0;
    return bits & kDosBits;
}

// Samba's record runs past a small buffer; getxattr gives all of a value or nothing.
// `unsupported` learns that the file system keeps no user attributes at all, so a
// listing can stop asking after the first entry.
uint32_t readDosBits(const char* path, bool* unsupported = nullptr)
{
    char value[256];
    const ssize_t length = ::getxattr(path, kDosAttribName, value, sizeof value);
    if (length > 0)
        return parseDosAttrib(value, length);
    if (length < 0 && unsupported && (errno == ENOTSUP || errno == EOPNOTSUPP))
        *unsupported = true;
    if (length == 0 || errno != ERANGE)
        return 0;
    const ssize_t size = ::getxattr(path, kDosAttribName, nullptr, 0);
    if (size <= 0)
        return 0;
    std::string big(size_t(size), '\0');
    const ssize_t bigLength = ::getxattr(path, kDosAttribName, big.data(), big.size());
    return bigLength > 0 ? parseDosAttrib(big.data(), bigLength) : 0;
}

uint32_t attributesOf(const struct stat& st, const char* name)
{
    uint32_t attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= faDirectory;
    if (!(st.st_mode & S_IWUSR))
        attr |= faReadOnly;
    if (name[0] == '.' && std::strcmp(name, "..") != 0)
        attr |= faHidden;
    return attr;
}

// Follows a link; a dangling or looping link is described by the link itself.
bool statEntry(int dirFd, const char* name, struct stat& st)
{
    if (::fstatat(dirFd, name, &st, 0) == 0)
        return true;
    return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
}

void fillRecord(TSearchRec& rec, const struct stat& st, uint32_t attr)
{
    rec.Attr = attr;
    rec.Size = S_ISDIR(st.st_mode) ? 0 : int64_t(st.st_size);
    rec.Time = PackDosTime(time_t(st.st_mtime)).value_or(0);
}

QString errorText(const QString& path, int error)
{
    if (error == ENOTSUP || error == EOPNOTSUPP)
        return QCoreApplication::translate("FileAttributes",
                                           "Cannot set the attributes of %1: the file system does not keep them.")
            .arg(path);
    return QCoreApplication::translate("FileAttributes", "Cannot set the attributes of %1: %2.")
        .arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

// Name of the last path element ("/a/b/" -> "b").
QByteArray lastName(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path.mid(path.lastIndexOf('/') + 1);
}

// Stores the DOS bits; false with errno set when the file system refuses.
bool writeDosBits(const char* path, uint32_t bits)
{
    if (bits == 0)
        return ::removexattr(path, kDosAttribName) == 0 || errno == ENODATA;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "0x%x", unsigned(bits));
    return ::setxattr(path, kDosAttribName, text, size_t(length), 0) == 0;
}

} // namespace

struct TDirectorySearch::Impl {
    DIR* dir = nullptr;
    int dirFd = -1;
    bool isRoot = false;
    bool readDosHidden = false;
    // The folder's path and '/', followed by the current name: no getxattrat before
    // Linux 6.13, and one reused buffer keeps the per-entry cost to the system call.
    std::string entryPath;
    size_t folderLength = 0;

    bool dosHidden(const char* name);
};

bool TDirectorySearch::Impl::dosHidden(const char* name)
{
    if (!readDosHidden)
        return false;
    entryPath.resize(folderLength);
    entryPath.append(name);
    bool unsupported = false;
    const bool hidden = readDosBits(entryPath.c_str(), &unsupported) & faHidden;
    if (unsupported)
        readDosHidden = false;
    return hidden;
}

TDirectorySearch::TDirectorySearch(const QString& folder)
    : m(std::make_unique<Impl>())
{
    const QByteArray path = EncodeFileName(folder);
    m->dir = ::opendir(path.constData());
    if (!m->dir)
        return;
    m->dirFd = ::dirfd(m->dir);
    m->entryPath.assign(path.constData(), size_t(path.size()));
    if (m->entryPath.empty() || m->entryPath.back() != '/')
        m->entryPath.push_back('/');
    m->folderLength = m->entryPath.size();
    // "/" has no parent to go to, though readdir reports ".." there as well.
    struct stat self, root;
    m->isRoot = ::fstat(m->dirFd, &self) == 0 && ::stat("/", &root) == 0
        && self.st_dev == root.st_dev && self.st_ino == root.st_ino;
}

TDirectorySearch::~TDirectorySearch()
{
    if (m->dir)
        ::closedir(m->dir);
}

bool TDirectorySearch::IsOpen() const { return m->dir != nullptr; }

void TDirectorySearch::ReadDosHidden(bool on) { m->readDosHidden = on; }

// Hidden comes from the leading dot and read-only from the mode here: reading
// user.DOSATTRIB costs a system call per entry, paid only when asked for and only
// for names the dot does not hide already.
bool TDirectorySearch::Next(TSearchRec& rec)
{
    if (!m->dir)
        return false;
    while (const dirent* entry = ::readdir(m->dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0' && m->isRoot)))
            continue;
        struct stat st;
        if (!statEntry(m->dirFd, name, st))
            continue;   // removed since readdir saw it
        uint32_t attr = attributesOf(st, name);
        if (name[0] != '.' && m->dosHidden(name))
            attr |= faHidden;
        fillRecord(rec, st, attr);
        rec.Name = DecodeFileName(name, qsizetype(std::strlen(name)));
        return true;
    }
    return false;
}

bool ReadFileAttributes(const QString& path, uint32_t* attr)
{
    const QByteArray native = EncodeFileName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0 && ::lstat(native.constData(), &st) != 0)
        return false;
    if (attr)
        *attr = attributesOf(st, lastName(native).constData()) | readDosBits(native.constData());
    return true;
}

bool WriteFileAttributes(const QString& path, uint32_t attr, QString* error)
{
    const QByteArray native = EncodeFileName(path);
    auto fail = [&](int code) {
        if (error)
            *error = errorText(path, code);
        return false;
    };
    struct stat st;
    if (::stat(native.constData(), &st) != 0)
        return fail(errno);
    const mode_t oldMode = st.st_mode & 07777;
    const mode_t newMode = (attr & faReadOnly) ? (oldMode & ~S_IWUSR) : (oldMode | S_IWUSR);

    // Unchanged DOS bits need no attribute, so read-only alone works on any file system.
    mode_t mode = oldMode;
    const uint32_t wanted = attr & kDosBits;
    if (readDosBits(native.constData()) != wanted) {
        // Writing an attribute needs write permission: a read-only file gets its
        // owner write bit back while the attribute is stored.
        if (!(mode & S_IWUSR)) {
            if (::chmod(native.constData(), mode | S_IWUSR) != 0)
                return fail(errno);
            mode |= S_IWUSR;
        }
        if (!writeDosBits(native.constData(), wanted)) {
            const int code = errno;
            if (mode != oldMode)
                ::chmod(native.constData(), oldMode);
            return fail(code);
        }
    }
    if (newMode != mode && ::chmod(native.constData(), newMode) != 0)
        return fail(errno);
    return true;
}
