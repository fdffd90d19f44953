// motrix-cli on setup files saved by the program: show, diff, JSON and exit statuses.
#include "SetupCommands.h"
#include "app/core/SettingsCodec.h"
#include "setup/SetupStore.h"
#include "support/FakeDialogs.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(MOTRIX_CLI_PATH), args);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

class CliSetupTest : public ::testing::Test {
protected:
    // Saves through the program's own save procedure.
    QString save(const QString& name, const setup::SetupDocument& document)
    {
        testsupport::FakeDialogs dialogs;
        app::MessageLog log;
        setup::SetupStore files(dialogs, log, dir.path());
        dialogs.answerFile(dir.filePath(name));
        EXPECT_EQ(files.save(document, origin), setup::SetupStore::Outcome::Done);
        return dir.filePath(name);
    }

    QString writeRaw(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    static setup::SetupDocument sample()
    {
        setup::SetupDocument d;
        d.description = QStringLiteral("Prüfstand Motor 7");
        d.record.limiterSpeed = 95;
        d.record.engineTempCal1Volt = 150;
        d.record.limpTiming = 0;
        d.record.setInjectionCell(3, 2, 2750);
        d.record.setAirTempCell(0, 15);
        return d;
    }

    QTemporaryDir dir;
    setup::SetupOrigin origin{"KVT-3Z......", "1a ", "2.4", "B7 ", "321"};
};

TEST_F(CliSetupTest, ShowPrintsHeaderIdentityFieldsAndTables)
{
    const QString file = save(QStringLiteral("a.kvt"), sample());
    const CliRun run = runCli({QStringLiteral("setup"), QStringLiteral("show"), file});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Beschreibung: Prüfstand Motor 7")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Gerät:        KVT-3Z......")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Neustarts:    321")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Kopf:         KVT-Setup ")));
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    const auto line = [&lines](const QString& name) {
        for (const QString& l : lines)
            if (l.startsWith(name + QLatin1Char(' ')))
                return l.simplified();
        return QString();
    };
    EXPECT_EQ(line(QStringLiteral("limiterSpeed")),
              QStringLiteral("limiterSpeed Zündwinkel-Rückn.: 9500 Umin"));
    EXPECT_TRUE(line(QStringLiteral("engineTempCal1Volt")).endsWith(QStringLiteral("1.50 V")));
    EXPECT_TRUE(line(QStringLiteral("engineTempCal1Temp")).endsWith(QStringLiteral("-20 °C")));
    EXPECT_TRUE(line(QStringLiteral("limpTiming")).endsWith(QStringLiteral("-30 °KW")));
    EXPECT_TRUE(line(QStringLiteral("injectionExtension[3]")).endsWith(QStringLiteral("0 °/oo")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Einspritzkennfeld (injectionMap, µs)")));
    // Row 25 % (throttle index 2), speed columns 0..16; 3000 rpm is the fourth.
    QStringList row25;
    for (const QString& l : lines)
        if (l.trimmed().startsWith(QStringLiteral("25.0 ")))
            row25 = l.simplified().split(QLatin1Char(' '));
    ASSERT_EQ(row25.size(), 18);
    EXPECT_EQ(row25[4], QStringLiteral("2750"));
}

TEST_F(CliSetupTest, ShowJsonCarriesEngineeringValues)
{
    const QString file = save(QStringLiteral("a.kvt"), sample());
    const CliRun run =
        runCli({QStringLiteral("setup"), QStringLiteral("show"), file, QStringLiteral("--json")});
    ASSERT_EQ(run.status, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(root[QStringLiteral("description")].toString(), QStringLiteral("Prüfstand Motor 7"));
    EXPECT_EQ(root[QStringLiteral("origin")][QStringLiteral("restarts")].toString(),
              QStringLiteral("321"));
    const QJsonObject fields = root[QStringLiteral("fields")].toObject();
    EXPECT_EQ(fields.size(), 73);
    EXPECT_EQ(fields[QStringLiteral("limiterSpeed")][QStringLiteral("value")].toDouble(), 9500);
    EXPECT_EQ(fields[QStringLiteral("limiterSpeed")][QStringLiteral("stored")].toInt(), 95);
    EXPECT_EQ(fields[QStringLiteral("engineTempCal1Volt")][QStringLiteral("value")].toDouble(),
              1.5);
    EXPECT_EQ(fields[QStringLiteral("injectionMap")][QStringLiteral("value")][2][3].toDouble(),
              2750);
    EXPECT_EQ(fields[QStringLiteral("airTempCorrection")][QStringLiteral("value")][0].toDouble(),
              100);
    EXPECT_FALSE(fields.contains(QStringLiteral("injectorDeadTime")));
}

TEST_F(CliSetupTest, DiffListsEveryDifferenceAndExitsOneOrZero)
{
    const setup::SetupDocument a = sample();
    setup::SetupDocument b = a;
    b.record.limiterSpeed = 100;
    b.record.setInjectionCell(16, 8, 9000);
    b.record.injectionExtension[1] = 12;
    const QString fileA = save(QStringLiteral("a.kvt"), a);
    const QString fileB = save(QStringLiteral("b.kvt"), b);
    const QString fileA2 = save(QStringLiteral("a2.kvt"), a);

    const CliRun differ = runCli({QStringLiteral("setup"), QStringLiteral("diff"), fileA, fileB});
    EXPECT_EQ(differ.status, 1);
    EXPECT_TRUE(differ.out.contains(QStringLiteral("9500 Umin -> 10000 Umin")));
    EXPECT_TRUE(differ.out.contains(QStringLiteral("injectionMap[16000 Umin, 100 %]")));
    EXPECT_TRUE(differ.out.contains(QStringLiteral("0 µs -> 9000 µs")));
    EXPECT_TRUE(differ.out.contains(QStringLiteral("injectionExtension[2]")));
    EXPECT_TRUE(differ.out.contains(QStringLiteral("3 Unterschied(e).")));

    const CliRun same = runCli({QStringLiteral("setup"), QStringLiteral("diff"), fileA, fileA2});
    EXPECT_EQ(same.status, 0);
    EXPECT_TRUE(same.out.contains(QStringLiteral("Setups sind gleich.")));

    const CliRun json = runCli(
        {QStringLiteral("setup"), QStringLiteral("diff"), QStringLiteral("--json"), fileA, fileB});
    EXPECT_EQ(json.status, 1);
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_FALSE(root[QStringLiteral("equal")].toBool());
    EXPECT_EQ(root[QStringLiteral("differences")].toArray().size(), 3);
}

TEST_F(CliSetupTest, BadUseAndBadFilesExitWithTwo)
{
    const QString good = save(QStringLiteral("good.kvt"), sample());
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = goodFile.readAll();
    const QString cut = writeRaw(QStringLiteral("cut.kvt"), bytes.left(500));
    const QString foreign = writeRaw(QStringLiteral("foreign.kvt"), QByteArray(858, 'z'));
    const QString empty = writeRaw(QStringLiteral("empty.kvt"), {});
    const QString missing = dir.filePath(QStringLiteral("missing.kvt"));

    const QList<QStringList> cases = {
        {},
        {QStringLiteral("setup")},
        {QStringLiteral("setup"), QStringLiteral("show")},
        {QStringLiteral("setup"), QStringLiteral("frobnicate"), good},
        {QStringLiteral("setup"), QStringLiteral("show"), missing},
        {QStringLiteral("setup"), QStringLiteral("show"), dir.path()},
        {QStringLiteral("setup"), QStringLiteral("show"), cut},
        {QStringLiteral("setup"), QStringLiteral("show"), foreign},
        {QStringLiteral("setup"), QStringLiteral("show"), empty},
        {QStringLiteral("setup"), QStringLiteral("diff"), good, missing},
        {QStringLiteral("setup"), QStringLiteral("diff"), cut, good},
    };
    for (const QStringList& args : cases) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << args.join(QLatin1Char(' ')).toStdString();
    }
    const CliRun missingRun = runCli({QStringLiteral("setup"), QStringLiteral("show"), missing});
    EXPECT_TRUE(missingRun.err.contains(missing));
}

TEST_F(CliSetupTest, RandomBytesNeverCrashTheCommands)
{
    // In-process, so the sanitizers watch every byte.
    QRandomGenerator random(99);
    const QString good = save(QStringLiteral("good.kvt"), sample());
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray base = goodFile.readAll();
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes = base.left(static_cast<int>(random.bounded(1000)));
        for (int flips = 0; flips < 20 && !bytes.isEmpty(); ++flips)
            bytes[random.bounded(static_cast<int>(bytes.size()))] =
                static_cast<char>(random.bounded(256));
        const QString file = writeRaw(QStringLiteral("r.kvt"), bytes);
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        const int status =
            cli::runCommand({QStringLiteral("setup"), QStringLiteral("show"), file}, out, err);
        EXPECT_TRUE(status == 0 || status == 2);
        const int diffStatus = cli::runCommand(
            {QStringLiteral("setup"), QStringLiteral("diff"), file, good}, out, err);
        EXPECT_TRUE(diffStatus >= 0 && diffStatus <= 2);
    }
}

}  // namespace

namespace {

TEST(CliSettings, DemoPreferencesSwitchTheSimulatorOnAtStart)
{
    QTemporaryDir dir;
    const QString programDir = dir.filePath(QStringLiteral("Motrix"));
    const CliRun run = runCli({"settings", "demo", programDir, "/dev/tty.kvtsim"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    QFile file(programDir + QStringLiteral("/Motrix.cfg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    app::ProgramSettings read;
    ASSERT_EQ(app::decodeSettings(file.readAll(), read).status, app::SettingsDecode::Ok);
    app::ProgramSettings expected;
    expected.portName = QStringLiteral("/dev/tty.kvtsim");
    expected.comAtStart = true;
    expected.readSetupAfterIdentification = true;
    EXPECT_EQ(read, expected);

    EXPECT_EQ(runCli({"settings", "demo", programDir}).status, 2);
    // A file standing where the folder should be cannot be written into.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CliRun blocked = runCli({"settings", "demo", blocker.fileName(), "/dev/tty.x"});
    EXPECT_EQ(blocked.status, 2);
    EXPECT_TRUE(blocked.err.contains("cannot write"));
}

}  // namespace
