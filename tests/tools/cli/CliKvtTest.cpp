// motrix-cli kvt against the simulated KVT on a pseudo-terminal: identify, read, write with its
// read-back, live and flash, each with the failures a script must see (a silent KVT, a wrong
// reply letter, a read-back that differs, a file that is not a setup, a port that is not there).
#include "KvtSimulator.h"
#include "PtyHost.h"

#include "history/SetupHistory.h"
#include "setup/SetupBlock.h"
#include "setup/SetupFileCodec.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

class CliKvtTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.setInstant(true);
        ASSERT_TRUE(host.start());
        host.withSimulator([](kvtsim::KvtSimulator& sim) {
            sim.setIdentity("KVT-TEST    ", "H12", "S34", "B56");
            sim.setRestartCount(321);
        });
    }

    void startCli(QProcess& process, QStringList args)
    {
        args << QStringLiteral("--port") << host.terminalPath();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // The marker of a running firmware update goes to the program directory.
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(MOTRIX_CLI_PATH), QStringList{QStringLiteral("kvt")} + args);
    }
    CliRun run(const QStringList& args)
    {
        QProcess process;
        startCli(process, args);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    QByteArray simSetup()
    {
        return host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.setup(); });
    }
    QByteArray commands()
    {
        return host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.commandLog(); });
    }
    void setFault(kvtsim::Fault fault, char letter, int length = 0)
    {
        host.withSimulator([&](kvtsim::KvtSimulator& sim) {
            sim.setFault(kvtsim::FaultPlan{fault, letter, -1, length});
        });
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    // What the runs recorded in the setup history of their program directory.
    std::vector<history::Entry> historyEntries()
    {
        history::SetupHistory h;
        if (!h.open(path(QStringLiteral("data/Motrix")), false).ok)
            return {};
        std::vector<history::Entry> entries;
        for (const history::Entry& e : h.list())
            entries.push_back(*h.get(e.id));
        return entries;
    }

    kvtsim::PtyHost host;
    QTemporaryDir dir;
};

// ---------------------------------------------------------------- identify and port problems

TEST_F(CliKvtTest, IdentifyPrintsTheKvtsIdentity)
{
    const CliRun text = run({QStringLiteral("identify")});
    EXPECT_EQ(text.status, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("Gerät:     KVT-TEST\n")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("SW:        S34\n")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Neustarts: 321\n")));

    const CliRun json = run({QStringLiteral("identify"), QStringLiteral("--json")});
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o.value(QStringLiteral("deviceType")).toString(), QStringLiteral("KVT-TEST"));
    EXPECT_EQ(o.value(QStringLiteral("hw")).toString(), QStringLiteral("H12"));
    EXPECT_EQ(o.value(QStringLiteral("bl")).toString(), QStringLiteral("B56"));
    EXPECT_EQ(o.value(QStringLiteral("restarts")).toInt(), 321);
}

TEST_F(CliKvtTest, AKvtThatDoesNotAnswerRightFailsEveryVerbWithTheProgramsMessage)
{
    const struct {
        kvtsim::Fault fault;
        const char* message;
    } cases[] = {{kvtsim::Fault::Silence, "COM Fehler - timeout"},
                 {kvtsim::Fault::WrongLetter, "Protokollfehler"}};
    for (const auto& c : cases) {
        setFault(c.fault, 'I');
        for (const QStringList& args :
             {QStringList{QStringLiteral("identify")},
              QStringList{QStringLiteral("read"), QStringLiteral("-o"), path("x.kvt")},
              QStringList{QStringLiteral("live"), QStringLiteral("--count"),
                          QStringLiteral("1")}}) {
            const CliRun r = run(args);
            EXPECT_EQ(r.status, 1) << c.message << " " << args.join(' ').toStdString();
            EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(path("x.kvt")));
}

TEST_F(CliKvtTest, APortThatIsNotThereGetsTheDeviceNameHelp)
{
    QProcess process;
    process.start(QStringLiteral(MOTRIX_CLI_PATH),
                  {QStringLiteral("kvt"), QStringLiteral("identify"), QStringLiteral("--port"),
                   QStringLiteral("/dev/ttyUSB-nicht-da")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("COM Fehler - Port nicht verfügbar")));
    EXPECT_TRUE(err.contains(QStringLiteral("/dev/ttyUSB-nicht-da ist nicht vorhanden")));
    EXPECT_TRUE(err.contains(QStringLiteral("ttyUSB*")));
}

// ---------------------------------------------------------------- read and write

TEST_F(CliKvtTest, ReadSavesTheKvtsSetupWithItsIdentityAndOverwritesOnlyWithForce)
{
    const QString file = path("bike1.kvt");
    const CliRun r = run({QStringLiteral("read"), QStringLiteral("-o"), file});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    saved.close();
    EXPECT_EQ(bytes.size(), setup::setupFileSize);
    const setup::SetupFileContent content = setup::decodeSetupFile(bytes);
    EXPECT_TRUE(content.wellFormed);
    EXPECT_EQ(setup::encodeSetupFileForm(content.record),
              setup::encodeSetupFileForm(setup::decodeSetupBlock(simSetup())));
    EXPECT_EQ(content.origin,
              setup::makeSetupOrigin(QStringLiteral("KVT-TEST    "), "H12", "S34", "B56", 321));
    std::vector<history::Entry> kept = historyEntries();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].event, history::Event::CliRead);
    EXPECT_EQ(kept[0].kvt.hw, QStringLiteral("H12"));
    EXPECT_EQ(kept[0].kvt.restarts, 321);
    EXPECT_EQ(kept[0].block, simSetup());

    writeFile(QStringLiteral("bike1.kvt"), "old");
    const CliRun refused = run({QStringLiteral("read"), QStringLiteral("-o"), file});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("old"));
    saved.close();
    EXPECT_EQ(
        run({QStringLiteral("read"), QStringLiteral("-o"), file, QStringLiteral("--force")}).status,
        0);
    EXPECT_EQ(QFileInfo(file).size(), setup::setupFileSize);
}

TEST_F(CliKvtTest, WriteSendsTheFileKeepsTheKvtsDeadTimesAndStoresOnlyAVerifiedSetup)
{
    setup::SetupRecord onKvt = setup::decodeSetupBlock(simSetup());
    setup::SetupRecord wanted = onKvt;
    wanted.injectorDeadTime.fill(0);
    wanted.injectionMap[20] = quint16(wanted.injectionMap[20] + 7);
    const QString file = writeFile(QStringLiteral("tested.kvt"),
                                   setup::encodeSetupFile(wanted, QStringLiteral("Prüfstand"), {},
                                                          QDateTime::currentDateTime()));
    wanted.injectorDeadTime = onKvt.injectorDeadTime;

    const CliRun r = run({QStringLiteral("write"), file, QStringLiteral("--eeprom")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("gleich, im EEPROM gespeichert")));
    EXPECT_EQ(simSetup(), setup::encodeSetupBlock(wanted));
    EXPECT_EQ(host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.eeprom(); }),
              setup::encodeSetupBlock(wanted));
    const std::vector<history::Entry> kept = historyEntries();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].event, history::Event::CliWrite);
    EXPECT_EQ(kept[0].path, file);
    EXPECT_EQ(kept[0].description, QStringLiteral("Prüfstand"));
    EXPECT_EQ(kept[0].block, setup::encodeSetupBlock(wanted));

    // One byte of the map comes back changed: the field is named, nothing goes to the EEPROM.
    host.withSimulator([](kvtsim::KvtSimulator& sim) { sim.setup().fill('\0'); });
    setFault(kvtsim::Fault::AlteredByte, 'L', 100);
    const CliRun differs =
        run({QStringLiteral("write"), file, QStringLiteral("--eeprom"), QStringLiteral("--json")});
    EXPECT_EQ(differs.status, 1);
    const QJsonObject o = QJsonDocument::fromJson(differs.out.toUtf8()).object();
    EXPECT_FALSE(o.value(QStringLiteral("equal")).toBool());
    EXPECT_FALSE(o.value(QStringLiteral("eeprom")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("differences")).toArray().size(), 1);
    EXPECT_FALSE(commands().endsWith('E')) << commands().toStdString();
}

TEST_F(CliKvtTest, WriteRefusesWhatIsNoSetupFileBeforeTouchingThePort)
{
    const QString text = writeFile(QStringLiteral("notes.txt"), "KVT-Setup");
    const QString fake = writeFile(QStringLiteral("fake.kvt"), QByteArray(858, 'x'));
    for (const QString& file : {text, fake, path("missing.kvt")}) {
        const CliRun r = run({QStringLiteral("write"), file});
        EXPECT_EQ(r.status, 2) << file.toStdString();
        EXPECT_TRUE(r.err.contains(file)) << r.err.toStdString();
    }
    EXPECT_TRUE(commands().isEmpty()) << commands().toStdString();
}

// ---------------------------------------------------------------- live

TEST_F(CliKvtTest, LiveWritesCountedCsvAndJsonLines)
{
    const CliRun csv = run({QStringLiteral("live"), QStringLiteral("--count"), QStringLiteral("4"),
                            QStringLiteral("--period"), QStringLiteral("5")});
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("time [ms],rpm [U/min],throttle [%]")));
    const int columns = int(lines[0].count(',')) + 1;
    for (const QString& line : lines.mid(1))
        EXPECT_EQ(line.count(',') + 1, columns) << line.toStdString();

    const CliRun json = run({QStringLiteral("live"), QStringLiteral("--count"), QStringLiteral("3"),
                             QStringLiteral("--json")});
    ASSERT_EQ(json.status, 0);
    const QStringList objects = json.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(objects.size(), 3);
    for (const QString& line : objects) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        EXPECT_TRUE(o.contains(QStringLiteral("rpm")) && o.contains(QStringLiteral("time")))
            << line.toStdString();
    }
}

TEST_F(CliKvtTest, LiveEndsCleanlyOnSigintAndSigterm)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        QProcess process;
        startCli(process, {QStringLiteral("live"), QStringLiteral("--json"),
                           QStringLiteral("--period"), QStringLiteral("10")});
        ASSERT_TRUE(process.waitForStarted());
        QByteArray out;
        while (out.count('\n') < 3 && process.waitForReadyRead(5000))
            out += process.readAllStandardOutput();
        ASSERT_GE(out.count('\n'), 3);
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(5000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        out += process.readAllStandardOutput();
        EXPECT_TRUE(out.endsWith('\n'));
        for (const QByteArray& line : out.split('\n')) {
            if (!line.isEmpty()) {
                EXPECT_TRUE(QJsonDocument::fromJson(line).isObject()) << line.toStdString();
            }
        }
    }
}

// ---------------------------------------------------------------- flash

TEST_F(CliKvtTest, FlashSendsTheImageAndAWaitingBootLoaderIsResumedOrCancelled)
{
    QByteArray data(1000, '\0');
    data.replace(10, 7, "SWV=6.1");
    const QString image = writeFile(QStringLiteral("new.bin"), data);
    const CliRun flashed = run({QStringLiteral("flash"), image});
    EXPECT_EQ(flashed.status, 0) << flashed.err.toStdString();
    EXPECT_TRUE(flashed.out.contains(QStringLiteral("update erfolgreich beendet")));
    EXPECT_EQ(host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.softwareVersion(); }),
              QByteArray("6.1"));

    // A boot loader left waiting: a plain flash finds no KVT, --resume and --cancel end it.
    auto startBootLoader = [&] {
        host.withSimulator([](kvtsim::KvtSimulator& sim) { sim.receive("U", 0); });
    };
    startBootLoader();
    EXPECT_EQ(run({QStringLiteral("flash"), image}).status, 1);
    const CliRun resumed = run({QStringLiteral("flash"), image, QStringLiteral("--resume")});
    EXPECT_EQ(resumed.status, 0) << resumed.err.toStdString();
    EXPECT_FALSE(host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.inBootLoader(); }));

    startBootLoader();
    const CliRun cancelled = run({QStringLiteral("flash"), QStringLiteral("--cancel")});
    EXPECT_EQ(cancelled.status, 0) << cancelled.err.toStdString();
    EXPECT_FALSE(host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.inBootLoader(); }));
    // A KVT that runs its firmware has no boot loader to cancel.
    EXPECT_EQ(run({QStringLiteral("flash"), QStringLiteral("--cancel")}).status, 1);
}

TEST_F(CliKvtTest, CtrlCDuringFlashCancelsTheUpdateInTheBootLoader)
{
    host.setInstant(false);
    const QString image = writeFile(QStringLiteral("big.bin"), QByteArray(40000, '\x11'));
    QProcess process;
    startCli(process, {QStringLiteral("flash"), image});
    QByteArray out;
    while (!out.contains("Datenblock 1") && process.waitForReadyRead(10000))
        out += process.readAllStandardOutput();
    ASSERT_TRUE(out.contains("Datenblock 1")) << out.toStdString();
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardOutput().contains("update durch Benutzer abgebrochen"));
    EXPECT_EQ(
        host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.bootLoader().outcome(); }),
        kvtsim::BootLoader::Outcome::Cancelled);
}

}  // namespace
