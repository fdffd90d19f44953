// The whole program against the simulated KVT on an in-memory line: a program directory of its
// own, scripted dialogs, preferences that tick "COM" at start, and ticks driven by the test.
#pragma once

#include "KvtSimulator.h"
#include "app/Motrix.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/TestApplication.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace testsupport {

class MotrixOnSimulator : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString programDir = dir.path() + "/";
    FakeDialogs dialogs;
    kvtsim::KvtSimulator kvt;
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    QElapsedTimer sinceStart;
    // How far the simulated engine runs ahead of the program's clock (ms).
    qint64 engineAheadMs = 0;
    // Every message shown in the status line since start().
    QStringList logged;
    std::unique_ptr<app::Motrix> motrix;

    void SetUp() override
    {
        application();
        sinceStart.start();
        line->onWrite = [this](FakeLine& l, const QByteArray& bytes) {
            l.feed(kvt.receive(bytes, engineAheadMs + sinceStart.elapsed()));
        };
    }

    // Preferences that connect to the simulator at start.
    static app::ProgramSettings simulatorSettings()
    {
        app::ProgramSettings s;
        s.portName = QStringLiteral("/dev/tty.kvtsim");
        s.comAtStart = true;
        return s;
    }

    // Writes the preferences, starts the program on them and stops its loop: the test drives
    // the ticks.
    void start(const app::ProgramSettings& settings = simulatorSettings())
    {
        QFile f(app::settingsFilePath(programDir));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(app::encodeSettings(settings));
        f.close();
        motrix = std::make_unique<app::Motrix>(dialogs, programDir, FakeSerialPort::factory(line));
        motrix->setPortLister([] { return QStringList({QStringLiteral("/dev/tty.kvtsim")}); });
        motrix->startUp({false, false});
        motrix->loop().stop();
        // Recorded, and still shown in the status line as the program does.
        motrix->log().setStatusSink([this](const QString& t) {
            logged << t;
            motrix->mainForm().statusLine->setText(t);
        });
    }

    void tick() { motrix->loop().tick(app::Tick::ComTimer); }
};

}  // namespace testsupport
