// Every kind of save on a full disk or a disk whose flush fails: the save reports failure, the old
// file survives byte for byte, no temporary file stays, and the user gets the program's box and
// log line. The disk is made full by this executable's own write() and fsync(), which take the
// place of the system's for files in the target folder while armed.
#include "SaveKinds.h"
#include "app/core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Seam {
    std::atomic<bool> armed{false};
    QByteArray folder;  // files below it fail
    qint64 budget = 0;  // bytes still written before the disk is full
    bool failFlush = false;
} seam;

bool inFolder(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[4096];
    const ssize_t n = readlink(link, path, sizeof path);
    return n > 0 && QByteArrayView(path, n).startsWith(seam.folder);
}

}  // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size)
{
    using Write = ssize_t (*)(int, const void*, size_t);
    static const auto real = reinterpret_cast<Write>(dlsym(RTLD_NEXT, "write"));
    if (seam.armed && inFolder(fd)) {
        if (seam.budget <= 0) {
            errno = ENOSPC;
            return -1;
        }
        size = size_t(std::min<qint64>(qint64(size), seam.budget));
        seam.budget -= qint64(size);
    }
    return real(fd, data, size);
}

extern "C" int fsync(int fd)
{
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    struct stat st {};
    if (seam.armed && seam.failFlush && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        inFolder(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd);
}

namespace {

enum class Failure { FullAtOnce, FullHalfWay, FullAtLastByte, FlushFails };

struct Case {
    int kind;
    Failure failure;
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class SaveDiskFull : public ::testing::TestWithParam<Case> {};

TEST_P(SaveDiskFull, OldFileSurvivesAndTheUserIsTold)
{
    const savecrash::Kind& kind = savecrash::kinds()[std::size_t(GetParam().kind)];
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("target"));
    // What a save needs besides its target (the recording behind "Log sichern") is made once.
    static const QTemporaryDir shared;
    const QString work = shared.path();
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = folder + QLatin1Char('/') + kind.fileName;
    ASSERT_TRUE(kind.prepare(folder, work, 0)->save());
    const QByteArray old = readAll(target);
    // The size of the new content, from a save elsewhere.
    const QString other = dir.filePath(QStringLiteral("other"));
    ASSERT_TRUE(QDir().mkpath(other));
    ASSERT_TRUE(kind.prepare(other, work, 1)->save());
    const qint64 newSize = readAll(other + QLatin1Char('/') + kind.fileName).size();
    ASSERT_NE(readAll(other + QLatin1Char('/') + kind.fileName), old);

    auto prepared = kind.prepare(folder, work, 1);
    seam.folder = QFile::encodeName(folder) + '/';
    seam.failFlush = GetParam().failure == Failure::FlushFails;
    switch (GetParam().failure) {
    case Failure::FullAtOnce: seam.budget = 0; break;
    case Failure::FullHalfWay: seam.budget = newSize / 2; break;
    case Failure::FullAtLastByte: seam.budget = newSize - 1; break;
    case Failure::FlushFails: seam.budget = newSize * 2; break;
    }
    seam.armed = true;
    const bool saved = prepared->save();
    seam.armed = false;

    EXPECT_FALSE(saved);
    EXPECT_EQ(readAll(target), old);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{kind.fileName});
    const auto withPath = [&](const QString& text) {
        return text.contains(QLatin1String("%1")) ? text.arg(target) : text;
    };
    EXPECT_EQ(prepared->dialogs.messages,
              QStringList{kind.failureTitle + QLatin1Char('|') + withPath(kind.failureText)});
    EXPECT_EQ(prepared->log.statusText(), withPath(kind.failureLog));

    // With room again the same save goes through and leaves nothing beside the file.
    auto again = kind.prepare(folder, work, 1);
    EXPECT_TRUE(again->save());
    EXPECT_EQ(readAll(target).size(), newSize);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{kind.fileName});
}

std::vector<Case> allCases()
{
    std::vector<Case> out;
    for (int k = 0; k < int(savecrash::kinds().size()); ++k)
        for (Failure f : {Failure::FullAtOnce, Failure::FullHalfWay, Failure::FullAtLastByte,
                          Failure::FlushFails})
            out.push_back({k, f});
    return out;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    static const char* failures[] = {"FullAtOnce", "FullHalfWay", "FullAtLastByte", "FlushFails"};
    return savecrash::kinds()[std::size_t(info.param.kind)].name.toStdString() + "_" +
           failures[int(info.param.failure)];
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SaveDiskFull, ::testing::ValuesIn(allCases()), caseName);

// A temporary file whose writer was killed is removed by the next save of the same file; one
// that a live writer holds is left alone.
TEST(AtomicFile, AbandonedTemporaryFilesAreRemovedLiveOnesKept)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("a.kvt"));
    const QString abandoned = dir.filePath(app::temporaryFilePrefix(target) + "dead0000");
    QFile stale(abandoned);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("half");
    stale.close();

    app::AtomicFile live(target);
    ASSERT_TRUE(live.open());
    ASSERT_TRUE(live.write(QByteArray("live")));
    EXPECT_FALSE(QFile::exists(abandoned));
    ASSERT_TRUE(app::writeFileAtomically(target, "second"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // live one kept
    ASSERT_TRUE(live.commit());
    EXPECT_EQ(readAll(target), QByteArray("live"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.kvt"});
}

// The replacement keeps the old file's permissions, and a link is saved through.
TEST(AtomicFile, KeepsPermissionsAndLinks)
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.cfg"));
    ASSERT_TRUE(app::writeFileAtomically(real, "one"));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    const QString link = dir.filePath(QStringLiteral("link.cfg"));
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(app::writeFileAtomically(link, "two"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(real), QByteArray("two"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
