// The update procedure against a fake line: choosing, the start checks and boxes in order, the
// byte sequence the boot loader sees, ACK/NAK handling, cancel and a lost port.
#include "FakeBootLine.h"
#include "app/core/MessageLog.h"
#include "firmware/BootProtocol.h"
#include "firmware/FirmwareUpdate.h"
#include "support/FakeDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace firmware;
using firmwaretest::FakeBootLine;
using testsupport::FakeDialogs;

namespace {

const QString checklist = QStringLiteral(
    "Setup aus der KVT gesichert?\rAktuelle firmware als Datei verfügbar?\r\r"
    "EEPROM gelöscht (bei einigen firmware-updates erforderlich) ?\r\r"
    "Motor im Stillstand?\rZündkerzenstecker gezogen?\rEinspritzpumpe ausser Funktion?");

QByteArray one(quint8 b)
{
    return QByteArray(1, char(b));
}

struct RecordingView final : UpdateView {
    QString folder, file, button, status;
    int maximum = -1, progress = -1;
    void showFolder(const QString& t) override { folder = t; }
    void showFileName(const QString& t) override { file = t; }
    void showUpdateButton(const QString& t) override { button = t; }
    void setProgressMaximum(int m) override { maximum = m; }
    void setProgress(int v) override { progress = v; }
    void showStatus(const QString& t) override { status = t; }
};

class UpdateTest : public ::testing::Test {
protected:
    UpdateTest()
    {
        log.setStatusSink([this](const QString& t) { logged << t; });
        update.setView(&view);
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    void choose(const QString& path)
    {
        dialogs.answerFile(path);
        update.choose();
    }
    // Chooses a 300-byte binary (3 blocks) and starts the update.
    void startThreeBlocks()
    {
        QByteArray data(300, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i);
        image.clear();
        decodeBinary(data, image);
        choose(writeFile(QStringLiteral("kvt.bin"), data));
        update.updateClicked();
        ASSERT_TRUE(update.busy());
    }
    // Steps until the boot loader answered; leaves the frame phase to the test.
    void answerAttention()
    {
        update.step();
        line.input += one(boot::attention);
        update.step();
        ASSERT_EQ(update.currentBlock(), 1);
    }
    void receive(quint8 b)
    {
        line.input += one(b);
        update.byteWaiting();
    }
    QByteArray frame(int n) const { return frameFor(image, n); }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    app::MessageLog log;
    QStringList logged;
    FakeBootLine line;
    RecordingView view;
    FirmwareUpdate update{dialogs, log, line};
    FirmwareImage image;
};

}  // namespace

TEST(BootFrame, NumbersAndChecksum)
{
    FirmwareImage zeros;
    decodeBinary(QByteArray(300 * 128, '\0'), zeros);
    const QByteArray f1 = frameFor(zeros, 1);
    ASSERT_EQ(f1.size(), 132);
    EXPECT_EQ(f1.left(3), QByteArray::fromHex("010102"));
    EXPECT_EQ(quint8(f1.at(131)), 0x04);
    EXPECT_EQ(frameFor(zeros, 255).left(3), QByteArray::fromHex("01ff00"));
    EXPECT_EQ(frameFor(zeros, 256).left(3), QByteArray::fromHex("010001"));
    EXPECT_EQ(quint8(frameFor(zeros, 256).at(131)), 0x02);

    FirmwareImage data;
    decodeBinary(QByteArray(128, char(0xFF)), data);  // block 0: 128 × 0xFF
    // 1 + 1 + 2 + 128 × 255 = 32644 → 0x84
    EXPECT_EQ(quint8(frameFor(data, 1).at(131)), 0x84);
    EXPECT_EQ(frameFor(data, 1).mid(3, 128), QByteArray(128, char(0xFF)));
}

TEST_F(UpdateTest, ChooseTakesOnlyBinAndHex)
{
    const QString bin = writeFile(QStringLiteral("kvt-4.8.bin"), "x");
    choose(bin);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("KVT-firmware wählen"));
    EXPECT_EQ(dialogs.calls[0].filter,
              QStringLiteral("KVT-fimware-Dateien (*.bin *.hex);;Alle Dateien (*.*)"));
    EXPECT_EQ(view.file, QStringLiteral("kvt-4.8.bin"));
    EXPECT_EQ(view.folder, FirmwareUpdate::shortenedFolder(QDir(dir.path()).absolutePath()));

    choose(writeFile(QStringLiteral("kvt.BIN"), "x"));
    EXPECT_EQ(view.file, QStringLiteral("Falscher Dateityp"));
    EXPECT_EQ(update.fileName(), QStringLiteral("kvt-4.8.bin"));  // the choice stays
    // The dialog opens at the current choice; a cancelled dialog changes nothing.
    update.choose();
    EXPECT_EQ(dialogs.calls.back().text, bin);
    EXPECT_EQ(update.fileName(), QStringLiteral("kvt-4.8.bin"));
}

TEST(UpdateTexts, FolderShorteningAndTimeEstimate)
{
    EXPECT_EQ(FirmwareUpdate::shortenedFolder(QString(30, 'a')), QString(30, 'a'));
    const QString longFolder = QStringLiteral("/home/werkstatt/firmware/kvt/2026/versionen");
    EXPECT_EQ(FirmwareUpdate::shortenedFolder(longFolder),
              longFolder.left(20) + QStringLiteral(" ... ") + longFolder.right(20));

    EXPECT_EQ(FirmwareUpdate::transferText(1, 10, 0, 0), QStringLiteral("übertrage Datenblock 1"));
    // 1000 ms for 2 blocks, 7 to go: 3.5 s, the half to the even 4.
    EXPECT_EQ(FirmwareUpdate::transferText(3, 10, 0, 1000),
              QStringLiteral("übertrage Datenblock 3  (4 sec.)"));
    // 500 ms per block, 5 to go: 2.5 s → 2.
    EXPECT_EQ(FirmwareUpdate::transferText(2, 7, 100, 600),
              QStringLiteral("übertrage Datenblock 2  (2 sec.)"));
    EXPECT_EQ(FirmwareUpdate::transferText(10, 10, 0, 9000),
              QStringLiteral("übertrage Datenblock 10  (0 sec.)"));
}

TEST_F(UpdateTest, StartRefusalsInOrderAndNothingSent)
{
    update.updateClicked();
    EXPECT_EQ(dialogs.boxTexts(), QStringList{QStringLiteral("Passende Firmwaredatei wählen !")});
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("firmweare update"));

    dialogs.clear();
    choose(writeFile(QStringLiteral("bad.hex"), ":020000040000FA\r\n"));
    update.updateClicked();
    EXPECT_EQ(dialogs.boxTexts(), (QStringList{checklist, QStringLiteral(" Formatfehler (2)"),
                                               QStringLiteral("firmware-Datei fehlerhaft")}));
    EXPECT_TRUE(logged.contains(QStringLiteral("firmware bad.hex gewählt")));
    EXPECT_TRUE(logged.contains(QStringLiteral("firmware-Datei decodieren(hex)")));
    EXPECT_TRUE(logged.contains(
        QStringLiteral("firmware: Formatfehler (2) Satznummer nicht verarbeitbar")));

    dialogs.clear();
    const QString gone = writeFile(QStringLiteral("gone.bin"), "x");
    choose(gone);
    QFile::remove(gone);
    update.updateClicked();
    EXPECT_EQ(dialogs.boxTexts(),
              (QStringList{checklist, QStringLiteral("Konnte firmare-Datei nicht öffnen :-(")}));
    EXPECT_EQ(logged.last(), QStringLiteral("firmware-Datei konnte nicht geöffnet werden"));

    dialogs.clear();
    line.open = false;
    choose(writeFile(QStringLiteral("good.bin"), "x"));
    update.updateClicked();
    EXPECT_EQ(dialogs.boxTexts(),
              (QStringList{checklist, QStringLiteral("com-port nicht verfügbar")}));
    EXPECT_EQ(logged.last(), QStringLiteral("Update com-port nicht verfügbar"));

    EXPECT_FALSE(update.busy());
    EXPECT_EQ(line.busyChanges, 0);  // polling never stopped
    EXPECT_TRUE(line.written.isEmpty());
}

TEST_F(UpdateTest, ThreeBlocksSeenByTheBootLoaderInOrder)
{
    startThreeBlocks();
    EXPECT_TRUE(line.busy);
    EXPECT_EQ(view.button, QStringLiteral("Abbruch"));
    EXPECT_EQ(view.maximum, 3);
    EXPECT_EQ(view.status, QStringLiteral("update wird gestartet ..."));
    update.step();  // the boot loader is not up yet: the attention byte is repeated
    answerAttention();
    receive(boot::nak);
    EXPECT_EQ(view.status, QStringLiteral("übertrage Datenblock 1"));
    receive(boot::ack);
    receive(boot::ack);
    EXPECT_EQ(view.progress, 3);
    receive(boot::ack);

    const QByteArray expected = "U" + one(0x7B) + one(0x7B) + one(0x7B) + one(0x00) + frame(1) +
                                frame(2) + frame(3) + one(0x04);
    EXPECT_EQ(line.written, expected);
    EXPECT_FALSE(update.busy());
    EXPECT_FALSE(line.busy);
    EXPECT_EQ(view.status, QStringLiteral("update erfolgreich beendet"));
    EXPECT_EQ(view.button, QStringLiteral("update KVT"));
    EXPECT_EQ(view.progress, 0);
    EXPECT_EQ(logged.last(), QStringLiteral("update erfolgreich"));
    EXPECT_EQ(line.identificationsForgotten, 1);  // the restarted KVT is identified anew
    EXPECT_TRUE(logged.contains(QStringLiteral("Update innitialisieren")));
}

TEST_F(UpdateTest, AckBeforeTheFirstNakSendsFrameTwoAndNakRepeats)
{
    startThreeBlocks();
    answerAttention();
    line.written.clear();
    receive(boot::ack);
    EXPECT_EQ(line.written, frame(2));
    receive(boot::nak);
    receive(boot::nak);
    EXPECT_EQ(line.written, frame(2) + frame(2) + frame(2));
    receive('?');  // noise is ignored
    EXPECT_EQ(line.written.size(), 3 * 132);
}

TEST_F(UpdateTest, AFrameIsHeldBackWhileBytesAreWaiting)
{
    startThreeBlocks();
    answerAttention();
    line.written.clear();
    line.input = one(boot::nak) + one(boot::nak);
    update.byteWaiting();
    EXPECT_TRUE(line.written.isEmpty());
    update.byteWaiting();
    EXPECT_EQ(line.written, frame(1));
    line.pendingOutput = 10;
    receive(boot::ack);
    EXPECT_EQ(line.written, frame(1));  // output still queued: nothing sent
    EXPECT_EQ(update.currentBlock(), 2);
}

TEST_F(UpdateTest, CancelShowsAtOnceAndSendsTheCancelByteOneStepLater)
{
    startThreeBlocks();
    answerAttention();
    receive(boot::nak);
    line.written.clear();
    update.updateClicked();
    EXPECT_EQ(view.status, QStringLiteral("update abgebrochen!!!"));
    EXPECT_EQ(view.button, QStringLiteral("update KVT"));
    EXPECT_EQ(logged.last(), QStringLiteral("Update abgebrochen"));
    EXPECT_TRUE(line.written.isEmpty());
    EXPECT_TRUE(update.busy());
    update.step();
    EXPECT_EQ(line.written, one(0x18));
    EXPECT_EQ(view.status, QStringLiteral("update durch Benutzer abgebrochen!"));
    EXPECT_EQ(logged.last(), QStringLiteral("update durch Benutzer abgebrochen"));
    EXPECT_FALSE(update.busy());
    EXPECT_FALSE(line.busy);
    update.step();
    EXPECT_EQ(line.written, one(0x18));
}

TEST_F(UpdateTest, ALostPortEndsTheUpdateWithoutWritingAgain)
{
    startThreeBlocks();
    answerAttention();
    receive(boot::nak);
    line.written.clear();
    line.broken = true;
    receive(boot::ack);
    EXPECT_TRUE(line.written.isEmpty());
    EXPECT_FALSE(update.busy());
    EXPECT_FALSE(line.busy);
    EXPECT_EQ(view.status, QStringLiteral("update abgebrochen - com-port nicht verfügbar"));
    EXPECT_EQ(logged.last(), QStringLiteral("Update abgebrochen - com-port nicht verfügbar"));
    update.step();
    EXPECT_TRUE(line.written.isEmpty());
}

TEST_F(UpdateTest, WithoutIdentificationNoBootCommandAndQuitSendsCancel)
{
    line.isIdentified = false;
    startThreeBlocks();
    EXPECT_EQ(line.bootCommands, 0);
    update.step();
    EXPECT_EQ(line.written, one(0x7B));
    update.abortForQuit();
    EXPECT_EQ(line.written, one(0x7B) + one(0x18));
    EXPECT_FALSE(update.busy());
    EXPECT_FALSE(line.busy);
}
