// The logger inside the program: timer 10 records, ending the program while recording closes
// the file, and a loaded file's larger record count is saved with the settings.
#include "app/Motrix.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "logger/LogRecorder.h"
#include "logger/LoggerWindow.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr app::Motrix::StartOptions quick{false, false};

TEST(LoggerInProgram, EndingWhileRecordingClosesTheFile)
{
    testsupport::application();
    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    QString name;
    {
        app::Motrix motrix(dialogs, dir.path() + "/");
        motrix.setPortLister([] { return QStringList(); });
        motrix.startUp(quick);
        motrix.loggerWindow().form().startButton->click();
        ASSERT_TRUE(motrix.recorder().recording());
        name = motrix.recorder().logFileName();
        motrix.loop().tick(app::Tick::LoggerTimer);
        motrix.loop().tick(app::Tick::ComTimer);  // only timer 10 records
        motrix.loop().tick(app::Tick::LoggerTimer);
        EXPECT_EQ(motrix.loggerWindow().form().lamp->color(), QColor(255, 204, 0));
        motrix.shutDown();
        EXPECT_FALSE(motrix.recorder().recording());
        EXPECT_FALSE(motrix.recorder().fileOpen());
    }
    QFile file(QDir(dir.path()).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArrayList lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 11 + 2 + 1);
    EXPECT_TRUE(lines[11].endsWith(",0,0,0,0,0.00,0.00,0.00,0,0,0,0,0,-50,0,,,,"));
}

TEST(LoggerInProgram, RaisedRecordCountIsKeptAsTheSetting)
{
    testsupport::application();
    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    const QString path = QDir(dir.path()).filePath("gross.klg");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("KVT-Log-Datei,gross.klg\n") + QByteArray(10, '\n'));
        for (int i = 0; i < 5000; ++i)
            f.write("1,2,3,4,5,0.50,0.60,0.70,1,0,1,0,1,20,1500,,,,                   \n");
    }
    {
        app::Motrix motrix(dialogs, dir.path() + "/");
        motrix.setPortLister([] { return QStringList(); });
        motrix.startUp(quick);
        dialogs.clear();
        dialogs.answerFile(path);
        motrix.loggerWindow().form().loadButton->click();
        EXPECT_EQ(motrix.settings().loggerCapacity, QFileInfo(path).size() / 65);
        EXPECT_EQ(motrix.recorder().rowsAvailable(), 5000);
        motrix.shutDown();
    }
    QFile f(app::settingsFilePath(dir.path() + "/"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    app::ProgramSettings back;
    app::decodeSettings(f.readAll(), back);
    EXPECT_EQ(back.loggerCapacity, QFileInfo(path).size() / 65);
}

}  // namespace
