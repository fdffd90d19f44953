// bench_displays: CPU time of one big-display tick at 1600 × 1200 and of one lambda grid
// redraw, each drawn as the windows draw them (all values changing every tick): the big
// display copies its static picture, drawn once per size, and draws the values over it.
#include "display/BigDisplayPaint.h"
#include "lambda/LambdaPaint.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("%-34s mean %.3f ms, median %.3f ms, 99%% %.3f ms, max %.3f ms (%zu ticks)\n", what,
                sum / ms.size(), ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back(), ms.size());
}

}  // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(10, std::atoi(argv[1])) : 500;

    app::ProgramSettings settings;
    settings.sliderDisplays = true;
    settings.showLearnLimits = true;
    setup::SetupRecord setup;
    display::BigDisplayState state;
    QImage screen(1600, 1200, QImage::Format_ARGB32_Premultiplied);
    QImage background(1600, 1200, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter bg(&background);
        bg.setRenderHint(QPainter::Antialiasing);
        bg.scale(1200 / 480.0, 1200 / 480.0);
        display::paintBigDisplayBackground(bg, QColor(240, 240, 240), settings, setup);
    }
    std::vector<double> big;
    for (int n = 0; n < ticks; ++n) {
        state.record.rpm = state.record.rpmForMaps = (n * 37) % 9000;
        state.record.throttle = n % 101;
        state.record.lambda = {600.0 + n % 300, 700.0 + n % 200, 1600};
        state.maximum = std::max(state.maximum, state.record.rpm);
        const double t0 = cpuMs();
        QPainter p(&screen);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPointF(0, 0), background);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(1200 / 480.0, 1200 / 480.0);
        display::paintBigDisplayValues(p, state, settings, setup);
        p.end();
        big.push_back(cpuMs() - t0);
    }
    report("big display tick at 1600 x 1200:", big);

    lambda::LambdaTable table;
    for (int i = 1; i <= 17; ++i)
        for (int j = 1; j <= 9; ++j)
            for (int k = 1; k <= 3; ++k)
                table.set(i, j, k, 300 + (i * 53 + j * 31 + k * 7) % 900);
    QImage canvas(725, 280, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> grid;
    lambda::GridView view;
    for (int n = 0; n < ticks; ++n) {
        view.pointSpeed = 1 + n % 17;
        view.pointThrottle = 1 + n % 9;
        const double t0 = cpuMs();
        QPainter p(&canvas);
        lambda::paintGrid(p, table, view);
        p.end();
        grid.push_back(cpuMs() - t0);
    }
    report("lambda grid redraw at 725 x 280:", grid);
    return 0;
}
