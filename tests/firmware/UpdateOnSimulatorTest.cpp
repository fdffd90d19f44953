// The update procedure against the simulated KVT's boot loader (in process): whole updates of
// a HEX and a binary file, the received image byte for byte, injected NAKs, a broken checksum
// test and a silent boot loader that only the user's cancel ends.
#include "FakeBootLine.h"
#include "HexRecords.h"
#include "KvtSimulator.h"
#include "app/core/MessageLog.h"
#include "firmware/FirmwareUpdate.h"
#include "support/FakeDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace firmware;
using firmwaretest::FakeBootLine;

namespace {

class UpdateOnSimulator : public ::testing::Test {
protected:
    UpdateOnSimulator()
    {
        line.responder = [this](const QByteArray& bytes) { return sim.receive(bytes, 0); };
    }

    void start(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        dialogs.answerFile(f.fileName());
        update.choose();
        update.updateClicked();
        ASSERT_TRUE(update.busy());
    }
    // Runs the update as the program does: a byte waiting is handled at once, otherwise the
    // next tick comes. Returns the number of ticks.
    int run(int maxSteps = 20000)
    {
        int ticks = 0;
        for (int i = 0; i < maxSteps && update.busy(); ++i) {
            if (line.bytesWaiting() > 0) {
                update.byteWaiting();
            } else {
                update.step();
                ++ticks;
            }
        }
        return ticks;
    }

    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    FakeBootLine line;
    FirmwareUpdate update{dialogs, log, line};
    kvtsim::KvtSimulator sim;
};

QByteArray firmwareBytes(int n)
{
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i)
        out[i] = char((i * 31 + i / 256) & 0xFF);
    out.replace(100, 7, "SWV=4.9");
    return out;
}

}  // namespace

TEST_F(UpdateOnSimulator, WholeUpdatesOfHexAndBinaryFiles)
{
    struct Case {
        const char* name;
        QByteArray file;
        int blocks;
    };
    const QByteArray data = firmwareBytes(5000);
    for (const Case& c :
         {Case{"kvt.hex", firmwaretest::hexFile(data, 16), 40}, Case{"kvt.bin", data, 40}}) {
        SCOPED_TRACE(c.name);
        sim.setIdentity("KVT-Sim 1Zyl", "2.1", "4.7", "1.3");
        line.isIdentified = true;
        start(QString::fromLatin1(c.name), c.file);
        // Only one tick: after the attention byte the boot loader's answers drive the rest.
        EXPECT_EQ(run(), 1);
        EXPECT_FALSE(update.busy());
        EXPECT_FALSE(sim.inBootLoader());
        EXPECT_EQ(log.statusText(), QStringLiteral("update erfolgreich"));
        EXPECT_EQ(sim.bootLoader().framesAccepted(), c.blocks);
        EXPECT_EQ(sim.bootLoader().image(), update.image().bytes());
        EXPECT_EQ(sim.bootLoader().image().left(data.size()), data);
        EXPECT_EQ(sim.softwareVersion(), QByteArray("4.9"));
        EXPECT_EQ(sim.bootLoader().events().first(), QStringLiteral("7B"));
        EXPECT_EQ(sim.bootLoader().events().last(), QStringLiteral("04"));
    }
}

TEST_F(UpdateOnSimulator, SurvivesInjectedNaks)
{
    sim.bootLoader().setFaults({3, false, false, 0});
    start(QStringLiteral("kvt.bin"), firmwareBytes(1000));
    run();
    EXPECT_EQ(log.statusText(), QStringLiteral("update erfolgreich"));
    EXPECT_EQ(sim.bootLoader().framesRefused(), 1);
    EXPECT_EQ(sim.bootLoader().image(), update.image().bytes());
    const QStringList expected{"7B", "00", "F1", "F2", "F3!", "F3",
                               "F4", "F5", "F6", "F7", "F8",  "04"};
    EXPECT_EQ(sim.bootLoader().events(), expected);
}

TEST_F(UpdateOnSimulator, EndlessRefusalsAndSilenceEndOnlyByCancel)
{
    for (const kvtsim::BootFaults faults :
         {kvtsim::BootFaults{0, true, false, 0}, kvtsim::BootFaults{0, false, true, 0}}) {
        sim.bootLoader().setFaults(faults);
        line.isIdentified = true;
        start(QStringLiteral("kvt.bin"), firmwareBytes(1000));
        run(3000);
        EXPECT_TRUE(update.busy());  // no time-out: the program keeps asking
        EXPECT_EQ(sim.bootLoader().framesAccepted(), 0);
        update.updateClicked();
        update.step();
        EXPECT_FALSE(update.busy());
        EXPECT_FALSE(sim.inBootLoader());
        EXPECT_EQ(sim.bootLoader().events().last(), QStringLiteral("18"));
    }
}
