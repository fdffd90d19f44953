// The lambda window against the KVT simulator on a fake port: reading RAM and EEPROM fills the
// grid, clearing the RAM empties it, the buttons need an identified KVT; the printout to a PDF.
#include "KvtSimulator.h"
#include "SimSetup.h"
#include "app/DeviceLambdaLink.h"
#include "app/WindowSet.h"
#include "lambda/LambdaWindow.h"
#include "link/DeviceLink.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/RecordingView.h"
#include "support/TestApplication.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct AppGuard {
    AppGuard() { testsupport::application(); }
};

struct Fixture : AppGuard {
    Fixture()
    {
        line->clock = &clock;
        line->onWrite = [this](testsupport::FakeLine& l, const QByteArray& bytes) {
            l.feed(kvt.receive(bytes, clock.nowMs()));
        };
        link.setView(&view);
    }
    ~Fixture() { link.setView(nullptr); }

    // Cells of the drawn grid whose colour is not the leanest class's (empty cells are).
    int colouredCells()
    {
        QImage image(725, 280, QImage::Format_RGB32);
        QPainter p(&image);
        lambda::paintGrid(p, logger.table(), window.gridView());
        p.end();
        int n = 0;
        for (int i = 1; i <= 17; ++i)
            for (int j = 1; j <= 9; ++j)
                n += image.pixelColor(15 + 36 * i + 31, 230 - 20 * j + 1) != QColor(2, 123, 255);
        return n;
    }

    testsupport::FakeClock clock;
    std::shared_ptr<testsupport::FakeLine> line = std::make_shared<testsupport::FakeLine>();
    kvtsim::KvtSimulator kvt;
    app::ProgramSettings settings;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    testsupport::RecordingView view{QStringLiteral("/dev/tty.kvtsim"), true};
    devlink::DeviceLink link{log, testsupport::FakeSerialPort::factory(line), clock};
    app::WindowSet windows;
    app::DeviceLambdaLink lambdaLink{link};
    QTemporaryDir dir;
    lambda::LambdaLogger logger{lambdaLink, dialogs, log, dir.path()};
    bool logging = false;
    QString pdf = dir.filePath("lambda.pdf");
    lambda::LambdaWindow window{
        windows[app::WindowId::LambdaLogger],
        logger,
        settings,
        log,
        {[this] { return link.identified(); }, [] { return false; },
         [this] { return link.liveRecord(); }, [this](bool on) { logging = on; },
         [this] { return logging; },
         [this](const QString& job, const auto& draw) { return dialogs.print(job, draw); }}};
};

TEST(LambdaWindowWithKvt, ReadFillsTheGridAndClearedRamReadsEmpty)
{
    Fixture fx;
    auto& form = fx.window.form();
    form.readEeprom->click();  // no KVT yet: nothing happens
    EXPECT_TRUE(fx.logger.table().isEmpty());

    fx.link.connectStep();
    ASSERT_TRUE(fx.link.identified());
    kvtsim::setSetupByte(fx.kvt.setup(), kvtsim::offset::lambdaLogging, 1);
    for (qint64 ms = 3000; ms < 20000; ms += 100)  // the engine runs and the KVT records
        fx.kvt.receive("D", ms);

    form.readEeprom->click();
    EXPECT_GT(fx.colouredCells(), 20);
    EXPECT_TRUE(fx.logging);
    EXPECT_TRUE(form.kvtLogs->isChecked());

    form.clearValues->click();
    EXPECT_EQ(fx.colouredCells(), 0);
    form.readRam->click();
    EXPECT_GT(fx.colouredCells(), 0);

    form.clearRam->click();
    form.readRam->click();
    EXPECT_TRUE(fx.logger.table().isEmpty());
    EXPECT_EQ(fx.colouredCells(), 0);
    EXPECT_TRUE(fx.log.statusText().contains("Lambdadaten aus RAM gelesen"));
}

TEST(LambdaWindowWithKvt, PrintsThePageIntoAPdf)
{
    Fixture fx;
    fx.logger.table().set(5, 5, 2, 910);
    fx.window.form().printButton->click();  // print dialog cancelled
    EXPECT_TRUE(fx.log.statusText().contains("kein Drucker gewählt"));
    fx.dialogs.answerPrint(fx.pdf);
    fx.window.form().printButton->click();
    QProcess p;
    p.start("pdftotext", {fx.pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains("KVT - Lambdalog"));
    EXPECT_TRUE(text.contains("0.91"));
    EXPECT_TRUE(text.contains("Benutzer:"));
    EXPECT_TRUE(fx.log.statusText().contains("Lambdalog gedruckt"));
}

}  // namespace
