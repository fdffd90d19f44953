// bench_power: what one sample of a run costs the program: Compute over all 700 samples and
// the grid, then painting the power chart of three curves with raw values on a canvas-sized
// image. Prints the CPU time per step.
#include "power/ChartPainter.h"
#include "power/PowerCompute.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
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

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int steps = argc > 1 ? std::max(1, atoi(argv[1])) : 700;

    // A full table: a run up and down again, 700 samples 40 ms apart.
    power::PowerSamples run{};
    for (int i = 0; i < power::sampleCount; ++i)
        run[i] = {40.0f * i, float(3000 + 9000 * std::sin(M_PI * i / power::sampleCount)), 0, 0, 0};
    power::PowerOptions options;
    options.addDrag = true;
    options.din = true;
    QImage canvas(600, 430, QImage::Format_RGB32);
    std::vector<double> times;
    power::PowerCurves curves{};
    for (int step = 0; step < steps; ++step) {
        const double start = cpuMs();
        const power::Evaluation e = power::compute(run, power::PowerParameters{}, options);
        curves[0] = e.curve;
        curves[1] = e.curve;
        curves[2] = e.curve;
        QPainter painter(&canvas);
        painter.fillRect(canvas.rect(), power::chartBackground());
        power::ChartInput in;
        in.curves = &curves;
        in.samples = &e.samples;
        in.shown = {true, true, true};
        in.rawValues = true;
        in.cursor = 6000;
        power::drawPowerChart(painter, power::windowPlotArea(600, 430), in);
        painter.end();
        times.push_back(cpuMs() - start);
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    std::printf("steps %d: mean %.2f ms, median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n",
                steps, sum / times.size(), times[times.size() / 2],
                times[std::min(times.size() - 1, times.size() * 99 / 100)], times.back());
    return 0;
}
