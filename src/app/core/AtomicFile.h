// Writing a whole file so that a crash, a kill or a full disk half-way never destroys the
// previous copy: the bytes go to a temporary file beside the target, reach the disk (fsync), and
// only then is the temporary file renamed over the target and the folder flushed as well.
//
// A temporary file left behind by a killed program is locked by nobody; the next save of the
// same file removes it, so leftovers never pile up.
#pragma once

#include <QByteArray>
#include <QString>

namespace app {

class AtomicFile final {
public:
    explicit AtomicFile(const QString& path);
    // A file not committed is discarded; the target stays as it was.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file (with the target's permissions when it exists).
    bool open();
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Flushes the bytes to the disk and replaces the target. False when any step failed; the
    // temporary file is then gone, and unless only the final flush of the folder failed (the
    // new file is in place but may not survive a power cut) the target is untouched.
    bool commit();
    void cancel();

    bool isOpen() const { return m_fd >= 0; }
    // The system's error number of the first failure (0 while none).
    int error() const { return m_error; }
    // The file that is replaced (a symbolic link is followed to its target).
    const QString& targetPath() const { return m_target; }

private:
    bool fail(int error);

    QString m_target;
    QByteArray m_tempName;
    int m_fd = -1;
    int m_error = 0;
};

// Writes bytes to path through AtomicFile. Returns false (and leaves any old file untouched) on
// failure.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

// The name every temporary file of target starts with (in the target's folder).
QString temporaryFilePrefix(const QString& target);

}  // namespace app
