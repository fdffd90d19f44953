// motrix-cli firmware check: status, block count, SHA-256 of what would be sent, the notes the
// decoder does not act on, JSON and exit statuses.
#include "firmware/FirmwareImage.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QByteArray out;
    QString err;
};

CliRun runCli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(MOTRIX_CLI_PATH), args);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

class CliFirmwareTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QJsonObject check(const QString& path, int expectedStatus)
    {
        const CliRun run = runCli(
            {QStringLiteral("firmware"), QStringLiteral("check"), path, QStringLiteral("--json")});
        EXPECT_EQ(run.status, expectedStatus) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out).object();
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(CliFirmwareTest, ReadyImageWithItsHash)
{
    QByteArray data(300, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 3);
    const QJsonObject o = check(write(QStringLiteral("kvt.bin"), data), 0);
    firmware::FirmwareImage image;
    ASSERT_EQ(firmware::decodeBinary(data, image), firmware::DecodeStatus::Ok);
    EXPECT_TRUE(o[QStringLiteral("ready")].toBool());
    EXPECT_EQ(o[QStringLiteral("blockCount")].toInt(), 3);
    EXPECT_EQ(o[QStringLiteral("imageBytes")].toInt(), 384);
    EXPECT_EQ(o[QStringLiteral("sha256")].toString().toLatin1(),
              QCryptographicHash::hash(image.bytes(), QCryptographicHash::Sha256).toHex());

    const CliRun text = runCli({QStringLiteral("firmware"), QStringLiteral("check"),
                                dir.filePath(QStringLiteral("kvt.bin"))});
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.contains("Blöcke:      3"));
}

TEST_F(CliFirmwareTest, NotesAndStatuses)
{
    // Gap between the records: ready, with a note.
    const QJsonObject gap = check(write(QStringLiteral("gap.hex"),
                                        ":0400000001020304F2\r\n:048000000102030472\r\n"
                                        ":00000001FF\r\n"),
                                  0);
    ASSERT_EQ(gap[QStringLiteral("notes")].toArray().size(), 1);
    EXPECT_EQ(gap[QStringLiteral("notes")].toArray()[0].toObject()[QStringLiteral("kind")],
              QStringLiteral("address-gap"));

    // Line feeds only: status 4, the note names the reason.
    const QJsonObject lf =
        check(write(QStringLiteral("lf.hex"), ":0400000001020304F2\n:00000001FF\n"), 1);
    EXPECT_EQ(lf[QStringLiteral("status")].toInt(), 4);
    EXPECT_EQ(lf[QStringLiteral("sha256")], QJsonValue());
    EXPECT_EQ(lf[QStringLiteral("notes")].toArray()[0].toObject()[QStringLiteral("kind")],
              QStringLiteral("lf-line-end"));

    const QJsonObject ext =
        check(write(QStringLiteral("ext.hex"), ":020000040001F9\r\n:00000001FF\r\n"), 1);
    EXPECT_EQ(ext[QStringLiteral("status")].toInt(), 2);
    EXPECT_EQ(ext[QStringLiteral("notes")].toArray()[0].toObject()[QStringLiteral("kind")],
              QStringLiteral("extended-address"));

    EXPECT_EQ(check(write(QStringLiteral("big.bin"), QByteArray(131200, 'x')),
                    1)[QStringLiteral("status")]
                  .toInt(),
              5);
}

// The text names what would be sent for every file, the smallest ready image and a refused one.
TEST_F(CliFirmwareTest, TextGivesBlocksAndSizeForEveryFile)
{
    const struct {
        const char* name;
        QByteArray content;
        int status;
        const char* blocks;
        const char* size;
    } cases[] = {
        {"five.hex", ":050000000102030405EC\r\n:00000001FF\r\n", 0, "Blöcke:      1 zu",
         "Abbild:      128 Bytes"},
        {"lf.hex", ":0400000001020304F2\n:00000001FF\n", 1, "Blöcke:      0 zu",
         "Abbild:      0 Bytes"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli({QStringLiteral("firmware"), QStringLiteral("check"),
                                   write(QString::fromLatin1(c.name), c.content)});
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_TRUE(run.out.contains(c.blocks)) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(c.size)) << run.out.toStdString();
    }
}

TEST_F(CliFirmwareTest, UnreadableOrWrongFilesExitTwo)
{
    for (const QStringList& args :
         {QStringList{QStringLiteral("firmware"), QStringLiteral("check"),
                      dir.filePath(QStringLiteral("missing.hex"))},
          QStringList{QStringLiteral("firmware"), QStringLiteral("check"),
                      write(QStringLiteral("notes.txt"), "x")},
          QStringList{QStringLiteral("firmware"), QStringLiteral("check")}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}
