// The history database on its own: recording, repeats, what a restore gets back, and what
// start-up does with a damaged or foreign file.
#include "history/SetupHistory.h"
#include "setup/SetupBlock.h"
#include "support/TestApplication.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using history::Event;

QByteArray blockWith(int seed)
{
    setup::SetupRecord r;
    for (std::size_t i = 0; i < r.injectionMap.size(); ++i)
        r.injectionMap[i] = quint16(1000 + seed * 7 + int(i));
    r.injectorDeadTime = {quint16(300 + seed), 310, 320};
    return setup::encodeSetupBlock(r);
}

const history::KvtIdentity kvtA{"KVT 3Zyl....", "2.1", "4.7", "1.3", 17};
const history::KvtIdentity kvtB{"KVT 1Zyl....", "1.0", "4.7", "1.3", 5};

class SetupHistoryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    history::SetupHistory h;
    void SetUp() override
    {
        testsupport::application();
        ASSERT_TRUE(h.open(dir.path()).ok);
    }
};

TEST_F(SetupHistoryTest, EachEventIsOneEntryWithItsIdentityPathAndBlock)
{
    const Event all[] = {Event::KvtRead,  Event::KvtWrite, Event::EepromStore, Event::FileLoad,
                         Event::FileSave, Event::CliRead,  Event::CliWrite};
    int seed = 0;
    for (Event e : all) {
        const QString path = QStringLiteral("/tmp/s%1.kvt").arg(seed);
        const qint64 id = h.record(e, kvtA, path, QStringLiteral("Text äöü"), blockWith(seed));
        ASSERT_GT(id, 0) << h.lastError().toStdString();
        const std::optional<history::Entry> got = h.get(id);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->event, e);
        EXPECT_EQ(got->kvt, kvtA);
        EXPECT_EQ(got->path, path);
        EXPECT_EQ(got->description, QStringLiteral("Text äöü"));
        EXPECT_EQ(got->block, blockWith(seed));
        ++seed;
    }
    EXPECT_EQ(h.list().size(), std::size(all));
    EXPECT_EQ(h.list().front().event, Event::CliWrite);  // newest first
}

TEST_F(SetupHistoryTest, ARepeatIsCountedNotStored)
{
    const qint64 first = h.record(Event::KvtRead, kvtA, {}, {}, blockWith(1));
    // Another KVT between them does not break the repeat of the first one.
    h.record(Event::KvtRead, kvtB, {}, {}, blockWith(9));
    history::KvtIdentity restarted = kvtA;
    restarted.restarts = 18;
    EXPECT_EQ(h.record(Event::KvtRead, restarted, {}, {}, blockWith(1)), first);
    EXPECT_EQ(h.record(Event::KvtRead, restarted, {}, {}, blockWith(1)), first);
    EXPECT_EQ(h.list(kvtA.key()).size(), 1u);
    EXPECT_EQ(h.get(first)->repeats, 2);
    EXPECT_EQ(h.get(first)->kvt.restarts, 18);

    // Differing in anything makes a new entry: block, event, file or description.
    const qint64 changed = h.record(Event::KvtRead, kvtA, {}, {}, blockWith(2));
    EXPECT_NE(changed, first);
    EXPECT_NE(h.record(Event::KvtWrite, kvtA, {}, {}, blockWith(2)), changed);
    EXPECT_NE(h.record(Event::KvtWrite, kvtA, QStringLiteral("a.kvt"), {}, blockWith(2)), 0);
    EXPECT_EQ(h.list(kvtA.key()).size(), 4u);
    // Equal to an older entry, not to the last: stored again.
    EXPECT_NE(h.record(Event::KvtRead, kvtA, {}, {}, blockWith(1)), first);
    EXPECT_EQ(h.kvts().size(), 2u);
}

TEST_F(SetupHistoryTest, EntriesSurviveReopening)
{
    const qint64 id = h.record(Event::FileSave, kvtB, QStringLiteral("x.kvt"), {}, blockWith(3));
    h.close();
    history::SetupHistory again;
    ASSERT_TRUE(again.open(dir.path()).ok);
    EXPECT_EQ(again.get(id)->block, blockWith(3));
}

struct Damage {
    const char* name;
    QByteArray (*spoil)(QByteArray);
};

TEST_F(SetupHistoryTest, ADamagedFileIsMovedAsideWithAMessageAndANewOneStarts)
{
    for (int i = 0; i < 40; ++i)
        h.record(Event::KvtRead, kvtA, QString::number(i), {}, blockWith(i));
    h.close();
    const QString path = history::SetupHistory::pathIn(dir.path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    f.close();
    ASSERT_GT(good.size(), 8192);

    const Damage damages[] = {
        {"foreign bytes", [](QByteArray) { return QByteArray(5000, 'x'); }},
        {"overwritten pages",
         [](QByteArray b) { return b.replace(4096, 4096, QByteArray(4096, '\x5a')); }},
        {"cut short", [](QByteArray b) { return b.left(b.size() / 2 + 100); }},
    };
    for (const Damage& d : damages) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray spoilt = d.spoil(good);
        f.write(spoilt);
        f.close();

        history::SetupHistory fresh;
        fresh.setClock([] { return QDateTime(QDate(2026, 12, 9), QTime(6, 30, 5)); });
        const history::OpenResult r = fresh.open(dir.path());
        ASSERT_TRUE(r.ok) << d.name << ": " << r.message.toStdString();
        EXPECT_EQ(r.movedTo, path + ".beschaedigt-20261209-063005") << d.name;
        EXPECT_TRUE(r.message.startsWith("Die Setup-Historie war beschädigt")) << d.name;
        EXPECT_TRUE(r.message.contains(r.movedTo)) << d.name;
        // The damaged file is kept as it was, and the new history works.
        QFile kept(r.movedTo);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << d.name;
        EXPECT_EQ(kept.readAll(), spoilt) << d.name;
        EXPECT_TRUE(fresh.list().empty()) << d.name;
        EXPECT_GT(fresh.record(Event::KvtRead, kvtA, {}, {}, blockWith(1)), 0) << d.name;
    }
}

TEST(SetupHistoryLooking, WithoutCreateNothingIsMadeOrMoved)
{
    testsupport::application();
    QTemporaryDir dir;
    history::SetupHistory h;
    EXPECT_FALSE(h.open(dir.path(), false).ok);
    EXPECT_FALSE(QFile::exists(history::SetupHistory::pathIn(dir.path())));
    QFile f(history::SetupHistory::pathIn(dir.path()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, 'x'));
    f.close();
    const history::OpenResult r = h.open(dir.path(), false);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.movedTo.isEmpty());
    EXPECT_EQ(QFileInfo(f.fileName()).size(), 5000);
}

}  // namespace
