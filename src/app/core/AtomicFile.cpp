#include "app/core/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

QString followLink(const QString& path)
{
    const QFileInfo info(path);
    // A link to an existing file is saved through: the link stays, its target gets the bytes.
    if (info.isSymLink() && info.exists())
        return info.canonicalFilePath();
    return path;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray randomSuffix()
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    QByteArray out(8, '0');
    for (char& c : out)
        c = digits[QRandomGenerator::global()->bounded(36)];
    return out;
}

// Removes temporary files of the target whose writer is gone: a writer holds a lock on its
// temporary file until it is renamed or removed, and the system drops the lock when the
// process dies, however it dies.
void removeAbandoned(const QByteArray& folder, const QByteArray& prefix)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix))
            continue;
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
            ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            opened.st_ino == named.st_ino && opened.st_dev == named.st_dev)
            ::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

QString temporaryFilePrefix(const QString& target)
{
    return QLatin1Char('.') + QFileInfo(target).fileName() + QStringLiteral(".~");
}

AtomicFile::AtomicFile(const QString& path) : m_target(followLink(path))
{
}

AtomicFile::~AtomicFile()
{
    cancel();
}

bool AtomicFile::fail(int error)
{
    if (m_error == 0)
        m_error = error != 0 ? error : EIO;
    cancel();
    return false;
}

bool AtomicFile::open()
{
    if (m_fd >= 0 || m_target.isEmpty())
        return false;
    m_error = 0;
    const QByteArray target = QFile::encodeName(m_target);
    const QByteArray folder = folderOf(target);
    const QByteArray prefix = QFile::encodeName(temporaryFilePrefix(m_target));
    removeAbandoned(folder, prefix);

    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const QByteArray name = folder + '/' + prefix + randomSuffix();
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            m_error = errno;
            return false;
        }
        // Another program's clean-up may have taken the file between creating and locking it.
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &opened) != 0 ||
            ::stat(name.constData(), &named) != 0 || opened.st_ino != named.st_ino) {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_tempName = name;
    }
    if (m_fd < 0) {
        m_error = EEXIST;
        return false;
    }
    // The replacement keeps the permissions of the file it replaces.
    if (replacing && ::fchmod(m_fd, old.st_mode & 07777) != 0)
        return fail(errno);
    return true;
}

bool AtomicFile::write(const char* data, qint64 size)
{
    if (m_fd < 0)
        return false;
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        data += n;
        size -= n;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (m_fd < 0)
        return false;
    // Only bytes known to be on the disk may replace the old file: a failed flush is a failed
    // save (some file systems report a full disk only here).
    if (::fsync(m_fd) != 0)
        return fail(errno);
    const QByteArray target = QFile::encodeName(m_target);
    // Renamed while still locked, so that no clean-up takes the file in between.
    if (::rename(m_tempName.constData(), target.constData()) != 0)
        return fail(errno);
    m_tempName.clear();
    const int fd = m_fd;
    m_fd = -1;
    const bool closed = ::close(fd) == 0;
    const int closeError = errno;
    // The rename itself reaches the disk only with the folder.
    const int dirFd = ::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        const bool synced = ::fsync(dirFd) == 0 || errno == EINVAL || errno == EROFS;
        const int syncError = errno;
        ::close(dirFd);
        if (!synced)
            return fail(syncError);
    }
    if (!closed)
        return fail(closeError);
    return true;
}

void AtomicFile::cancel()
{
    if (m_fd >= 0) {
        ::unlink(m_tempName.constData());
        ::close(m_fd);
        m_fd = -1;
    }
    m_tempName.clear();
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    return file.open() && file.write(bytes) && file.commit();
}

}  // namespace app
