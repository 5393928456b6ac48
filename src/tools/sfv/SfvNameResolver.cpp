#include "SfvNameResolver.h"

#include "tools/sfv/SfvReader.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

SfvNameResolver::SfvNameResolver(QByteArray folder)
    : m_folder(std::move(folder))
{
}

QByteArray SfvNameResolver::PathOf(const QByteArray& written)
{
    const QByteArray exact = m_folder + written;
    struct stat st {};
    // Only a name that is missing is looked for in another case: one that exists but
    // cannot be read must not be swapped for a different file. A name with a folder
    // part is taken as written.
    if (::lstat(exact.constData(), &st) == 0 || errno != ENOENT || written.contains('/'))
        return exact;
    indexFolder();
    const QList<QByteArray> matches = m_namesByKey.value(SfvReader::KeyOf(written));
    return matches.size() == 1 ? m_folder + matches.first() : exact;
}

void SfvNameResolver::indexFolder()
{
    if (m_indexed)
        return;
    m_indexed = true;
    DIR* dir = ::opendir(m_folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            m_namesByKey[SfvReader::KeyOf(name)].append(name);
    }
    ::closedir(dir);
}
