// The program's start-up and orderly end against a temporary program directory.
#include "app/Motrix.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testsupport::application;

struct MotrixFixture : ::testing::Test {
    QTemporaryDir dir;
    QString programDir = dir.path() + "/";
    testsupport::FakeDialogs dialogs;

    void SetUp() override { application(); }

    void writeSettings(const app::ProgramSettings& s)
    {
        QFile f(app::settingsFilePath(programDir));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(app::encodeSettings(s));
    }
    QString messageFile() const
    {
        QFile f(programDir + "KVT-Meldungen.txt");
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll());
    }
};

constexpr app::Motrix::StartOptions quick{false, false};

TEST_F(MotrixFixture, FirstStartWithoutSettingsCreatesThemAtTheEnd)
{
    {
        app::Motrix motrix(dialogs, programDir);
        motrix.setPortLister([] { return QStringList(); });
        motrix.startUp(quick);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_TRUE(dialogs.calls[0].text.startsWith("Keine Einstellungsdatei"));
        EXPECT_TRUE(motrix.windows()[app::WindowId::Main].isVisible());
        EXPECT_EQ(motrix.mainForm().statusLine->text(),
                  "Einstellungsdatei nicht gefunden. Standardeinstellungen werden verwendet");
        motrix.shutDown();
    }
    QFile f(app::settingsFilePath(programDir));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    app::ProgramSettings back;
    EXPECT_EQ(app::decodeSettings(f.readAll(), back).status, app::SettingsDecode::Ok);
}

TEST_F(MotrixFixture, StoredSettingsApplyAndMessageFileEndsWithFarewell)
{
    app::ProgramSettings s;
    s.messageFile = true;
    s.windows[7] = {50, 60, 500, 400};  // system window
    writeSettings(s);
    {
        app::Motrix motrix(dialogs, programDir);
        motrix.setPortLister([] { return QStringList(); });
        motrix.startUp(quick);
        EXPECT_TRUE(dialogs.calls.empty());
        EXPECT_EQ(motrix.windows()[app::WindowId::System].geometry().size(), QSize(500, 400));
        motrix.windows()[app::WindowId::System].resize(450, 300);
        motrix.shutDown();
    }
    const QStringList lines = messageFile().split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith(" : "));
    EXPECT_TRUE(lines[1].endsWith(" : KVT Motrix1.G gestartet"));
    EXPECT_TRUE(lines[2].endsWith(" : KVT Einstellungsdatei gelesen"));
    EXPECT_TRUE(lines.last().endsWith(" : KVT beenden ... Tschuess..."));

    QFile f(app::settingsFilePath(programDir));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    app::ProgramSettings back;
    app::decodeSettings(f.readAll(), back);
    EXPECT_EQ(back.windows[7].width, 450);
    EXPECT_EQ(back.windows[7].height, 300);
    EXPECT_TRUE(back.messageFile);
}

TEST_F(MotrixFixture, StoredPortNoLongerListedLeavesComOff)
{
    app::ProgramSettings s;
    s.portName = "/dev/tty.gone";
    s.comAtStart = true;
    writeSettings(s);
    app::Motrix motrix(dialogs, programDir);
    motrix.setPortLister([] { return QStringList({"/dev/tty.a", "/dev/tty.b"}); });
    motrix.startUp(quick);
    EXPECT_EQ(motrix.mainForm().portCombo->currentIndex(), 0);
    EXPECT_FALSE(motrix.mainForm().comCheck->isChecked());
    motrix.loop().stop();
}

TEST_F(MotrixFixture, StoredPortListedIsSelectedAndSwitchedOn)
{
    app::ProgramSettings s;
    s.portName = "/dev/tty.b";
    s.comAtStart = true;
    writeSettings(s);
    app::Motrix motrix(dialogs, programDir);
    motrix.setPortLister([] { return QStringList({"/dev/tty.a", "/dev/tty.b"}); });
    motrix.startUp(quick);
    EXPECT_EQ(motrix.mainForm().portCombo->currentText(), "/dev/tty.b");
    EXPECT_TRUE(motrix.mainForm().comCheck->isChecked());
    motrix.loop().stop();
}

TEST_F(MotrixFixture, PortButtonExplainsMissingOrRefusedPorts)
{
    struct Case {
        devlink::PortScan scan;
        QString statusLine;  // empty: no help, the list is usable
        QString adviceMentions;
    };
    const QString refused = QStringLiteral("/dev/ttyUSB0");
    const Case cases[] = {
        {{{}, {refused}, 1},
         "Keine Berechtigung für /dev/ttyUSB0 - Benutzer zur Gruppe dialout hinzufügen",
         "sudo usermod -a -G dialout"},
        {{{"/dev/ttyACM0"}, {refused}, 2},
         "Keine Berechtigung für /dev/ttyUSB0 - Benutzer zur Gruppe dialout hinzufügen",
         "Gruppe \"dialout\""},
        {{{}, {}, 0}, "Kein serieller Anschluss gefunden", "Adapter nicht eingesteckt"},
        {{{"/dev/ttyACM0"}, {}, 1}, "", ""},
    };
    writeSettings({});
    app::Motrix motrix(dialogs, programDir);
    motrix.setPortLister([] { return QStringList(); });
    motrix.startUp(quick);
    EXPECT_TRUE(dialogs.calls.empty());  // start-up stays quiet without ports
    for (const Case& c : cases) {
        dialogs.clear();
        motrix.setPortScanner([&c] { return c.scan; });
        motrix.mainForm().refreshPortsButton->click();
        EXPECT_EQ(motrix.mainForm().portCombo->count(), c.scan.ports.size());
        if (c.statusLine.isEmpty()) {
            EXPECT_TRUE(dialogs.calls.empty());
            continue;
        }
        EXPECT_EQ(motrix.log().statusText(), c.statusLine);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].title, "COM-Anschluss");
        EXPECT_TRUE(dialogs.calls[0].text.contains(c.adviceMentions));
    }
    motrix.loop().stop();
}

TEST_F(MotrixFixture, LoggerCapacityFallsBackWhenMemoryIsShort)
{
    app::ProgramSettings s;
    s.loggerCapacity = 9999999;
    writeSettings(s);
    logger::LogTable::setAllocationLimit(100000 * logger::LogTable::columns * 4);
    app::Motrix motrix(dialogs, programDir);
    motrix.setPortLister([] { return QStringList(); });
    motrix.startUp(quick);
    logger::LogTable::setAllocationLimit(0);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, "Achtung");
    EXPECT_TRUE(dialogs.calls[0].text.contains("Datenfeldgröße (649999935) zur Verfügung"));
    EXPECT_TRUE(dialogs.calls[0].text.endsWith("Die Feldanzahl wird auf den Standardwert gesetzt"));
    EXPECT_EQ(motrix.settings().loggerCapacity, 3600);
    EXPECT_EQ(motrix.logTable().rows(), 3601);
    EXPECT_EQ(motrix.log().statusText(), "Logdatei zu groß gefordert. Standard verwendet");
    motrix.loop().stop();
}

TEST_F(MotrixFixture, ClosingTheMainWindowAsksAtTheNextTick)
{
    writeSettings({});
    app::Motrix motrix(dialogs, programDir);
    motrix.setPortLister([] { return QStringList(); });
    motrix.startUp(quick);
    motrix.windows()[app::WindowId::Main].close();
    EXPECT_TRUE(motrix.windows()[app::WindowId::Main].isVisible());
    EXPECT_EQ(motrix.loop().quitRequest(), app::QuitRequest::Asked);
    dialogs.answerQuestion(false);
    motrix.loop().tick(app::Tick::ComTimer);
    EXPECT_EQ(motrix.loop().quitRequest(), app::QuitRequest::None);
    // Closing again asks again.
    motrix.windows()[app::WindowId::Main].close();
    dialogs.answerQuestion(true);
    motrix.loop().tick(app::Tick::ComTimer);
    EXPECT_EQ(motrix.loop().quitRequest(), app::QuitRequest::Confirmed);
    EXPECT_EQ(dialogs.calls.size(), 2u);
    motrix.loop().stop();
}

}  // namespace

namespace {

TEST_F(MotrixFixture, JaToTheQuitQuestionEndsTheRunningLoop)
{
    writeSettings({});
    app::Motrix motrix(dialogs, programDir);
    motrix.setPortLister([] { return QStringList(); });
    motrix.startUp(quick);
    dialogs.answerQuestion(true);
    motrix.loop().requestQuit();
    // Should the loop not end, this ends it with another code.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QApplication::exec(), 0);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, "Beenden?");
    motrix.shutDown();
    EXPECT_EQ(motrix.log().statusText(), "KVT beenden ... Tschuess...");
}

}  // namespace
