// What one poll cycle costs the main window's drawing when all four map views follow the live
// point ("auto" and "pos" ticked, the injection map being edited): the cursor follows, the
// views rebuild their drawings and repaint at once. Measured as process CPU time, so the
// figure is comparable with the 5 ms COM-Timer whatever else runs on the machine.
#include "unattended/UnattendedDialogs.h"
#include "app/core/WindowTable.h"
#include "forms/Hauptdialog.h"
#include "forms/Window.h"
#include "forms/hilfedialog.h"
#include "maps/CellLink.h"
#include "maps/MapPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

struct QuietLink final : maps::CellLink {
    bool identified() const override { return true; }
    bool firmwareBusy() const override { return false; }
    bool sendPaused(char, const QByteArray&) override { return true; }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Arguments: the number of cycles (default 2000) and, optionally, a PNG file for a picture.
    const int cycles = argc > 1 ? std::max(10, atoi(argv[1])) : 2000;

    forms::Window main(app::windowInfo(app::WindowId::Main));
    forms::Window help(app::windowInfo(app::WindowId::Help));
    forms::Window system(app::windowInfo(app::WindowId::System));
    forms::Window expert(app::windowInfo(app::WindowId::Expert));
    forms::Hauptdialog form;
    form.setupUi(main.content());
    forms::Hilfedialog helpForm;
    helpForm.setupUi(help.content());

    // A plausible engine setup: injection rising with speed and throttle, some dead time.
    setup::SetupRecord record;
    for (int t = 0; t <= 8; ++t)
        for (int s = 0; s <= 16; ++s) {
            record.setInjectionCell(s, t, quint16(800 + 150 * s + 400 * t));
            record.setIgnitionCell(s, t, quint8(std::min(50, 10 + s + 2 * t)));
        }
    for (int i = 0; i <= 16; ++i) {
        record.setAirTempCell(i, quint8(30 - i));
        record.setEngineTempCell(i, quint8(std::max(0, 120 - 10 * i)));
    }
    record.injectorDeadTime = {400, 450, 420};

    app::ProgramSettings settings;
    app::MessageLog log;
    QuietLink link;
    app::UnattendedDialogs dialogs;

    maps::MapPanel keys({main, help, system, expert}, form, &helpForm, record, settings, dialogs,
                        log, link);
    keys.setIdentifiedSource([] { return true; });
    for (QCheckBox* box : {form.injectionAutoCheck, form.injectionPosCheck, form.airTempAutoCheck,
                           form.airTempPosCheck, form.engineTempAutoCheck, form.engineTempPosCheck,
                           form.ignitionAutoCheck, form.ignitionPosCheck})
        box->setChecked(true);
    emit main.menuEvent(2);  // F5: the injection map is edited, its cursor follows
    main.show();
    QApplication::processEvents();

    std::vector<double> costs;
    costs.reserve(size_t(cycles));
    for (int i = 0; i < cycles; ++i) {
        // The live point sweeps the whole map, as a run up through the gears would.
        const double phase = double(i) / cycles;
        maps::LivePoint live;
        live.rpmForMaps = std::min(16000.0, 16000 * phase);
        live.throttle = 50 + 50 * std::sin(phase * 40);
        live.airTemp = -25 + 170 * phase;
        live.engineTemp = 20 + 90 * phase;

        const double start = cpuMs();
        keys.setLivePoint(live);
        keys.followLive(maps::autoSpeedIndex(live.rpmForMaps),
                        maps::autoThrottleIndex(live.throttle), maps::autoTempIndex(live.airTemp),
                        maps::autoTempIndex(live.engineTemp));
        keys.redrawFollowingViews();
        for (maps::View v : maps::allViews)
            keys.view(v).repaint();
        costs.push_back(cpuMs() - start);
    }

    // A picture of the four views as they stand after the run, when asked for.
    if (argc > 2)
        main.grab().save(QString::fromLocal8Bit(argv[2]));

    std::sort(costs.begin(), costs.end());
    double sum = 0;
    for (double c : costs)
        sum += c;
    const double mean = sum / double(costs.size());
    const double median = costs[costs.size() / 2];
    const double p99 = costs[std::min(costs.size() - 1, costs.size() * 99 / 100)];
    std::printf("bench_views: %d poll cycles, four views following (auto + pos)\n", cycles);
    std::printf(
        "  CPU per cycle: mean %.3f ms, median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
        mean, median, p99, costs.back());
    std::printf("  target: under 5 ms -> %s\n", mean < 5.0 ? "met" : "NOT met");
    return 0;
}
