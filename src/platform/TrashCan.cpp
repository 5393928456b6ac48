// The freedesktop Trash (see TrashCan.h).
#include "platform/TrashCan.h"
#include "core/PosixIo.h"

#include "platform/DriveList.h"
#include "platform/FileNames.h"
#include "platform/FileOpPaths.h"
#include "platform/FileOpSysCalls.h"

#include <QDateTime>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using FileOpPaths::parentOf;

// A trash folder and how its .trashinfo files name the original place.
struct TrashDir {
    std::string Base;       // the folder holding files/ and info/
    std::string PathRoot;   // Path= is relative to this ("" means absolute)
};

std::string nameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isOwnDir(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

// Makes the folder when missing; an existing one must be ours and a real folder,
// since anything else there could be used to steal or lose trashed files.
bool ensurePrivateDir(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) == 0)
        return true;
    return errno == EEXIST && isOwnDir(path);
}

bool ensureTrashDir(const std::string& base)
{
    return ensurePrivateDir(base) && ensurePrivateDir(base + "/files") && ensurePrivateDir(base + "/info");
}

std::string dataHome()
{
    if (const char* xdg = ::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return xdg;
    const char* home = ::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share";
}

bool makePath(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (path.empty() || path == "/")
        return false;
    if (!makePath(parentOf(path)))
        return false;
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string homeTrash()
{
    const std::string base = dataHome() + "/Trash";
    if (!makePath(dataHome()) || !ensureTrashDir(base))
        return {};
    return base;
}

// The top folder of the volume that holds `dir`: the last ancestor on the same device.
std::string topDirOf(const std::string& dir, dev_t device)
{
    std::string top = dir;
    while (top != "/") {
        const std::string up = parentOf(top);
        struct stat st;
        if (::stat(up.c_str(), &st) != 0 || st.st_dev != device)
            break;
        top = up;
    }
    return top;
}

// $topdir/.Trash/$uid when the administrator made .Trash sticky and not a link,
// else $topdir/.Trash-$uid.
bool volumeTrash(const std::string& topDir, TrashDir& out)
{
    const std::string top = topDir == "/" ? std::string() : topDir;
    const std::string uid = std::to_string(::geteuid());
    struct stat st;
    const std::string shared = top + "/.Trash";
    if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const std::string mine = shared + "/" + uid;
        if (ensureTrashDir(mine)) {
            out = {mine, topDir};
            return true;
        }
    }
    const std::string own = top + "/.Trash-" + uid;
    if (ensureTrashDir(own)) {
        out = {own, topDir};
        return true;
    }
    return false;
}

QByteArray infoText(const std::string& original, const TrashDir& trash)
{
    std::string path = original;
    if (!trash.PathRoot.empty()) {
        const std::string root = trash.PathRoot == "/" ? std::string("/") : trash.PathRoot + "/";
        if (path.compare(0, root.size(), root) == 0)
            path = path.substr(root.size());
    }
    QByteArray text = "[Trash Info]\nPath=";
    // The raw bytes: a name that is not UTF-8 must come back from the trash unchanged.
    text += QByteArray::fromStdString(path).toPercentEncoding("/");
    text += "\nDeletionDate=";
    text += QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1();
    text += '\n';
    return text;
}


// Names in the trash must be unique and leave room for ".trashinfo".
std::string candidateName(const std::string& name, int attempt)
{
    constexpr size_t kMax = 255 - 10 - 8;
    std::string stem = name;
    std::string ext;
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        stem = name.substr(0, dot);
        ext = name.substr(dot);
    }
    if (stem.size() + ext.size() > kMax) {
        ext.clear();
        stem.resize(kMax);
        while (!stem.empty() && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80)
            stem.pop_back();   // never end on half a UTF-8 character
        if (!stem.empty() && static_cast<unsigned char>(stem.back()) >= 0xC0)
            stem.pop_back();
    }
    if (attempt == 0)
        return stem + ext;
    return stem + "." + std::to_string(attempt + 1) + ext;
}

// Reserves a name with its info file (O_EXCL makes the reservation race-free), then
// renames the item in. The info file goes first so a crash never leaves an item in
// files/ that no trash can restore.
TrashCan::Result moveInto(const std::string& item, const TrashDir& trash)
{
    const QByteArray info = infoText(item, trash);
    const std::string name = nameOf(item);
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const std::string candidate = candidateName(name, attempt);
        const std::string infoPath = trash.Base + "/info/" + candidate + ".trashinfo";
        const int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return {TrashCan::Outcome::Failed, errno, {}};
        }
        const bool written = WriteAll(fd, info);
        const int closeError = ::close(fd) == 0 ? 0 : errno;
        if (!written || closeError) {
            const int error = closeError ? closeError : (errno ? errno : EIO);
            ::unlink(infoPath.c_str());
            return {TrashCan::Outcome::Failed, error, {}};
        }
        const std::string target = trash.Base + "/files/" + candidate;
        const int error = RenameNoReplace(AT_FDCWD, item.c_str(), AT_FDCWD, target.c_str());
        if (error == 0)
            return {TrashCan::Outcome::Trashed, 0, DecodeFileName(QByteArray::fromStdString(target))};
        ::unlink(infoPath.c_str());
        if (error != EEXIST)   // EEXIST: a leftover in files/ without its info file
            return {TrashCan::Outcome::Failed, error, {}};
    }
    return {TrashCan::Outcome::Failed, EEXIST, {}};
}

// A mount point at or below the folder `dir`, or empty. The kernel's table is asked
// rather than the tree walked: trashing a folder stays one rename, whatever it holds.
std::string mountInside(const std::string& dir)
{
    char* real = ::realpath(dir.c_str(), nullptr);
    if (!real)
        return {};
    const std::string canonical = real;
    std::free(real);
    const std::string below = canonical == "/" ? canonical : canonical + "/";
    for (const QByteArray& point : AllMountPoints()) {
        const std::string mount = point.toStdString();
        if (mount == canonical || mount.compare(0, below.size(), below) == 0)
            return mount;
    }
    return {};
}

} // namespace

TrashCan::Result TrashCan::Move(const QString& path)
{
    std::string item = EncodeFileName(path).toStdString();
    while (item.size() > 1 && item.back() == '/')
        item.pop_back();
    struct stat st;
    if (::lstat(item.c_str(), &st) != 0)
        return {Outcome::Failed, errno, {}};
    if (S_ISDIR(st.st_mode)) {
        if (const std::string mount = mountInside(item); !mount.empty())
            return {Outcome::HoldsMount, 0, DecodeFileName(QByteArray::fromStdString(mount))};
    }
    const std::string dir = parentOf(item);
    struct stat dirSt;
    if (::stat(dir.c_str(), &dirSt) != 0)
        return {Outcome::Failed, errno, {}};
    // A rename only works within one volume, and the folder holding the item decides it.
    const std::string home = homeTrash();
    struct stat homeSt;
    if (!home.empty() && ::stat(home.c_str(), &homeSt) == 0 && homeSt.st_dev == dirSt.st_dev) {
        const Result r = moveInto(item, {home, {}});
        if (r.Status == Outcome::Trashed || r.Error != EXDEV)
            return r;
        // Same device through another mount (a bind mount): the volume's own trash may work.
    }
    TrashDir trash;
    if (!volumeTrash(topDirOf(dir, dirSt.st_dev), trash))
        return {Outcome::NoTrash, 0, {}};
    const Result r = moveInto(item, trash);
    if (r.Status == Outcome::Failed && r.Error == EXDEV)
        return {Outcome::NoTrash, 0, {}};
    return r;
}
