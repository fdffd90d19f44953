// The boot-loader recovery against a fake line and the simulated boot loader: a damaged marker
// still counts, a firmware file that changed since the cut-off update is not resumed, and after
// the cancel nothing more is probed. (Whole runs of the program are in the app tests.)
#include "FakeBootLine.h"
#include "KvtSimulator.h"
#include "app/core/MessageLog.h"
#include "firmware/BootRecovery.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/UpdateMarker.h"
#include "support/FakeDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace firmware;
using firmwaretest::FakeBootLine;

namespace {

struct BootRecoveryTest : ::testing::Test {
    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    FakeBootLine line;
    FirmwareUpdate update{dialogs, log, line};
    BootRecovery recovery{dialogs, log, line, update, dir.path()};
    UpdateMarker marker{dir.path()};
    kvtsim::KvtSimulator sim;

    BootRecoveryTest()
    {
        update.setTracker(&recovery);
        line.responder = [this](const QByteArray& bytes) { return sim.receive(bytes, 0); };
    }
    QString writeFile(int bytes)
    {
        QFile f(dir.filePath(QStringLiteral("kvt.bin")));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(bytes, 'k'));
        return f.fileName();
    }
    // One tick of an unanswered "I" and the next, as the program runs them.
    void unansweredTicks()
    {
        line.isIdentified = false;
        recovery.afterConnectStep();
        recovery.beforeConnectStep();
    }
};

}  // namespace

TEST_F(BootRecoveryTest, ADamagedMarkerCountsAndAChangedFileIsNotResumed)
{
    QFile damaged(marker.filePath());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("\xff\xfe") + '\n' + "zwölf\n");
    damaged.close();
    ASSERT_TRUE(marker.read());
    EXPECT_EQ(marker.read()->size, -1);

    // The marker names the file with another size than it has now.
    marker.write({writeFile(1000), 999});
    recovery.takeOverMarker();
    EXPECT_EQ(update.chosenPath(), dir.filePath(QStringLiteral("kvt.bin")));
    sim.receive("U", 0);
    dialogs.answerQuestion(true);
    unansweredTicks();
    ASSERT_TRUE(recovery.waiting());
    EXPECT_EQ(dialogs.boxTexts().last(),
              QStringLiteral("Die firmware-Datei hat sich seit dem Start des updates geändert.\r"
                             "Bitte Datei prüfen und neu wählen."));
    EXPECT_FALSE(update.busy());
    EXPECT_TRUE(line.busy);  // no "I" to the waiting boot loader
    EXPECT_TRUE(marker.read());

    recovery.cancel();
    EXPECT_FALSE(sim.inBootLoader());
    EXPECT_TRUE(line.written.endsWith(char(0x18)));
    EXPECT_FALSE(line.busy);
    EXPECT_FALSE(marker.read());
    // Nothing more is probed once the update is cancelled.
    line.written.clear();
    unansweredTicks();
    EXPECT_TRUE(line.written.isEmpty());
}
