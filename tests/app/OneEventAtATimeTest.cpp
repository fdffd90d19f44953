// One event at a time, in the whole program with its own Qt dialogs against the simulator on a
// pseudo-terminal: while a box waits for its answer no tick runs and nothing reaches the KVT,
// and the handler that asked goes on after the answer as if nothing had happened in between.
#include "KvtSimulator.h"
#include "PtyHost.h"
#include "SimSetup.h"
#include "app/Motrix.h"
#include "app/QtDialogs.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "forms/Lamp.h"
#include "link/PosixSerialPort.h"
#include "setup/SetupBlock.h"
#include "support/TestApplication.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Answers the program's message boxes as a user would: each box stays open for holdMs while
// its own event loop runs, then Ja (or Nein) is clicked, or OK on a plain message.
class BoxAnswerer final : public QObject {
public:
    BoxAnswerer(int holdMs, bool yes) : m_holdMs(holdMs), m_yes(yes)
    {
        connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
        m_poll.start(5);
    }

    std::function<void()> onOpen;
    std::function<void()> beforeAnswer;
    QStringList titles;
    QStringList texts;
    int answered = 0;

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (box != m_current) {
            m_current = box;
            m_open.start();
            titles << box->windowTitle();
            texts << box->text();
            if (onOpen)
                onOpen();
            return;
        }
        if (m_open.elapsed() < m_holdMs)
            return;
        if (beforeAnswer)
            beforeAnswer();
        QAbstractButton* button = box->button(m_yes ? QMessageBox::Yes : QMessageBox::No);
        if (!button)
            button = box->button(QMessageBox::Ok);
        m_current = nullptr;
        ++answered;
        button->click();
    }

    int m_holdMs;
    bool m_yes;
    QTimer m_poll;
    QMessageBox* m_current = nullptr;
    QElapsedTimer m_open;
};

int visibleBoxesTitled(const QString& title)
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(w) && w->isVisible() && w->windowTitle() == title)
            ++n;
    }
    return n;
}

struct ProgramOnPty : ::testing::Test {
    QTemporaryDir dir;
    QString programDir = dir.path() + "/";
    std::unique_ptr<kvtsim::PtyHost> host;
    app::QtDialogs dialogs;
    std::unique_ptr<app::Motrix> motrix;
    QStringList logged;

    void SetUp() override
    {
        testsupport::application();
        host = std::make_unique<kvtsim::PtyHost>(
            kvtsim::HostOptions{dir.filePath(QStringLiteral("tty.kvtsim")), true, 0});
        QString error;
        ASSERT_TRUE(host->start(&error)) << error.toStdString();

        // Both timers as fast as the settings allow: many ticks fall due while a box is open.
        app::ProgramSettings s;
        s.portName = host->portPath();
        s.comAtStart = true;
        s.comTimerPeriod = 10;
        s.loggerPeriod = 100;
        QFile f(app::settingsFilePath(programDir));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(app::encodeSettings(s));
        f.close();

        motrix =
            std::make_unique<app::Motrix>(dialogs, programDir, devlink::PosixSerialPort::factory());
        const QString port = host->portPath();
        motrix->setPortLister([port] { return QStringList{port}; });
        motrix->startUp({false, false});
        motrix->log().setStatusSink([this](const QString& t) { logged << t; });
        ASSERT_TRUE(QTest::qWaitFor([this] { return motrix->link().identified(); }, 5000));
    }
    void TearDown() override
    {
        motrix.reset();
        host->stop();
    }

    template <typename F>
    auto sim(F&& f)
    {
        return host->withSimulator([&](kvtsim::KvtSimulator& s) { return f(s); });
    }
};

TEST_F(ProgramOnPty, NothingReachesTheKvtWhileTheLengthQuestionIsOpen)
{
    const QByteArray before = setup::encodeSetupBlock(motrix->setupRecord());
    sim([](kvtsim::KvtSimulator& s) {
        s.setFault({kvtsim::Fault::CutReply, 'L', 1, 573});
        return 0;
    });
    BoxAnswerer user(400, true);
    qint64 receivedAtOpen = -1;
    qint64 receivedAtAnswer = -2;
    user.onOpen = [&] { receivedAtOpen = host->bytesReceived(); };
    user.beforeAnswer = [&] { receivedAtAnswer = host->bytesReceived(); };
    const qsizetype mark = logged.size();

    motrix->mainForm().readFromKvtButton->click();  // "-> PC"

    ASSERT_EQ(user.titles, QStringList{"Achtung!"});
    EXPECT_TRUE(user.texts[0].startsWith("Datenpaket ggf. nicht kompatibel.(579/573)"));
    EXPECT_EQ(receivedAtAnswer, receivedAtOpen);
    EXPECT_EQ(logged.mid(mark),
              QStringList({"Antwort dauert zu lange ()",
                           "eingelesene Setup-Daten aus KVT ggf. nicht kompatibel (573)",
                           "Antwort dauert zu lange (l)"}));
    EXPECT_EQ(setup::encodeSetupBlock(motrix->setupRecord()), before);

    // Then the ticks again: the time-out is reported and the KVT identified anew.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return logged.mid(mark).contains("KVT wurde identifiziert"); }, 3000));
    EXPECT_EQ(logged.value(mark + 3), "COM Fehler - timeout");
}

TEST_F(ProgramOnPty, BlockCompletedWhileTheQuestionWasOpenIsDecodedAfterJa)
{
    const QByteArray reply = sim([](kvtsim::KvtSimulator& s) {
        s.setup()[kvtsim::offset::limiterSpeed] = char(123);
        s.setFault({kvtsim::Fault::CutReply, 'L', 1, 569});
        return QByteArray(1, 'l') + s.setup();
    });
    ASSERT_EQ(reply.size(), 579);
    BoxAnswerer user(700, true);
    // The last 10 bytes come 350 ms late, while the question is open.
    user.onOpen = [&] {
        QTimer::singleShot(350, &user, [&] { host->injectStray(reply.right(10)); });
    };
    const qsizetype mark = logged.size();

    motrix->mainForm().readFromKvtButton->click();

    ASSERT_FALSE(user.texts.isEmpty());
    EXPECT_TRUE(user.texts[0].startsWith("Datenpaket ggf. nicht kompatibel.(579/569)"));
    const QStringList lines = logged.mid(mark);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.mid(0, 3),
              QStringList({"Antwort dauert zu lange ()",
                           "eingelesene Setup-Daten aus KVT ggf. nicht kompatibel (569)",
                           "Daten von KVT gelesen"}));
    EXPECT_EQ(setup::encodeSetupBlock(motrix->setupRecord()), reply.mid(1));
    EXPECT_EQ(motrix->setupRecord().limiterSpeed, 123);
}

TEST_F(ProgramOnPty, F10AsksOnceHoweverManyTicksPassWhileTheQuestionIsOpen)
{
    forms::Window& main = motrix->windows()[app::WindowId::Main];
    QApplication::setActiveWindow(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    BoxAnswerer user(500, false);
    int openAtAnswer = 0;
    qint64 receivedAtOpen = -1;
    qint64 receivedAtAnswer = -2;
    user.onOpen = [&] { receivedAtOpen = host->bytesReceived(); };
    user.beforeAnswer = [&] {
        openAtAnswer = visibleBoxesTitled("Beenden?");
        receivedAtAnswer = host->bytesReceived();
    };

    QTest::keyClick(&main, Qt::Key_F10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return user.answered > 0; }, 3000));
    QTest::qWait(100);

    EXPECT_EQ(openAtAnswer, 1);
    EXPECT_EQ(user.titles, QStringList{"Beenden?"});
    EXPECT_EQ(receivedAtAnswer, receivedAtOpen);  // no poll while it was open
    EXPECT_EQ(motrix->loop().quitRequest(), app::QuitRequest::None);
    // Polling goes on after Nein.
    const qint64 after = host->bytesReceived();
    EXPECT_TRUE(QTest::qWaitFor([&] { return host->bytesReceived() > after; }, 1000));
}

TEST_F(ProgramOnPty, UnpluggedAdapterComesBackWithComStillTicked)
{
    forms::Lamp& lamp = *motrix->mainForm().comLamp;
    const qsizetype mark = logged.size();
    host->dropLink(-1);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return logged.mid(mark).contains("COM Fehler - Port nicht verfügbar"); }, 2000));
    QTest::qWait(200);  // many ticks while it stays away
    EXPECT_TRUE(motrix->mainForm().comCheck->isChecked());
    EXPECT_EQ(lamp.color(), QColor(255, 0, 0));
    EXPECT_EQ(logged.mid(mark), QStringList{"COM Fehler - Port nicht verfügbar"});

    host->reconnect();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return logged.mid(mark).contains("KVT wurde identifiziert"); }, 2000));
    EXPECT_EQ(logged.value(mark + 1), host->portPath() + " ist ein");
    EXPECT_TRUE(QTest::qWaitFor([&] { return lamp.color() == QColor(0, 255, 0); }, 1000));
}

}  // namespace
