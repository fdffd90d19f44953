// bench_logger: writes a realistic log file of N rows (default 10 million, about 630 MB) into a
// temporary folder, then measures in one run:
//   1. the program's reader (KlgReader into LogTable and the chart's pyramid) and the resident
//      memory right after it;
//   2. the chart's decimation per frame, 14 channels at zoom 1, 8, 64 and 1024, beside a plain
//      per-row scan of the same rows;
//   3. a naive std::getline + std::stod loader and a plain std::from_chars pointer-scan loop over
//      the same file, for comparison.
// Times are CPU time of the thread. The folder and the file are removed at the end.
// Usage: bench_logger [rows]
#include "logger/ChartGeometry.h"
#include "logger/ChartPyramid.h"
#include "logger/KlgReader.h"
#include "logger/LogFormat.h"
#include "logger/LogLoader.h"
#include "logger/LogTable.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// The machine is shared: times are the CPU time of this thread (user and system, page faults
// included), not the wall clock, so other processes do not count.
struct Clock {
    using time_point = double;
    static double now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    }
};

double seconds(double since)
{
    return Clock::now() - since;
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// A ride on a test bench: speed and throttle wander, temperatures creep, lambda follows the
// throttle, outputs and inputs switch now and then, one sample every 100 ms.
bool generate(const QString& path, qint64 rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    logger::LogHeader h;
    h.fileName = QStringLiteral("bench.klg");
    h.created = QDateTime::currentDateTime();
    h.hw = QStringLiteral("2.1");
    h.sw = QStringLiteral("5.3");
    h.comment = QStringLiteral("Prüfstand, Dauerlauf");
    file.write(logger::headerBytes(h));
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0, 1);
    double rpm = 1200, throttle = 5, engine = 20, air = 18;
    std::array<double, 15> v{};
    QByteArray block;
    block.reserve(4 << 20);
    char line[logger::recordLineCapacity];
    for (qint64 r = 1; r <= rows; ++r) {
        throttle = std::clamp(throttle + noise(rng) * 2, 0.0, 100.0);
        rpm = std::clamp(rpm + (throttle * 110 + 900 - rpm) * 0.05 + noise(rng) * 40, 0.0, 16000.0);
        engine = std::clamp(engine + 0.002 * (85 - engine) + noise(rng) * 0.05, -20.0, 235.0);
        air = std::clamp(air + noise(rng) * 0.02, -20.0, 60.0);
        v[0] = double(r * 100);
        v[1] = rpm;
        v[2] = throttle;
        v[3] = engine;
        v[4] = air;
        for (int l = 0; l < 3; ++l)
            v[5 + l] = std::clamp(0.45 + throttle / 250.0 + noise(rng) * 0.08, 0.0, 1.2);
        v[8] = rpm > 6000 ? 1 : 0;
        v[9] = engine > 80 ? 1 : 0;
        v[10] = (r / 5000) % 2;
        v[11] = (r / 777) % 2;
        v[12] = 0;
        v[13] = std::clamp(rpm / 400.0 + noise(rng), -50.0, 40.0);
        v[14] = 900 + throttle * 30 + noise(rng) * 20;
        block.append(line, logger::formatRecordLine(v, line));
        if (block.size() > (4 << 20) - 1024) {
            if (file.write(block) != block.size())
                return false;
            block.clear();
        }
    }
    return file.write(block) == block.size();
}

double naiveLoad(const std::string& path, qint64& rows)
{
    const auto t0 = Clock::now();
    std::ifstream in(path);
    std::string line;
    std::vector<std::vector<float>> columns(19);
    for (int i = 0; i < 11 && std::getline(in, line); ++i) {
    }
    rows = 0;
    while (std::getline(in, line)) {
        std::size_t start = 0;
        for (int c = 0; c < 19; ++c) {
            const std::size_t comma = line.find(',', start);
            const std::string field =
                line.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            float v = 0;
            if (!field.empty()) {
                try {
                    v = float(std::stod(field));
                } catch (...) {
                    v = 0;
                }
            }
            columns[std::size_t(c)].push_back(v);
            if (comma == std::string::npos) {
                for (int rest = c + 1; rest < 19; ++rest)
                    columns[std::size_t(rest)].push_back(0);
                break;
            }
            start = comma + 1;
        }
        ++rows;
    }
    return seconds(t0);
}

double fromCharsLoad(const QString& path, qint64& rows)
{
    const auto t0 = Clock::now();
    QFile file(path);
    file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    std::vector<std::vector<float>> columns(19);
    const qint64 estimate = file.size() / 60;
    for (auto& c : columns)
        c.reserve(std::size_t(estimate));
    std::vector<char> buffer(4 << 20);
    std::size_t have = 0;
    int headerLeft = 11;
    rows = 0;
    for (;;) {
        const qint64 got = file.read(buffer.data() + have, qint64(buffer.size() - have));
        if (got <= 0)
            break;
        have += std::size_t(got);
        const char* p = buffer.data();
        const char* end = p + have;
        for (;;) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
            if (!nl)
                break;
            if (headerLeft > 0) {
                --headerLeft;
            } else {
                const char* f = p;
                for (int c = 0; c < 19; ++c) {
                    double v = 0;
                    const auto r = std::from_chars(f, nl, v);
                    const char* comma =
                        static_cast<const char*>(std::memchr(r.ptr, ',', std::size_t(nl - r.ptr)));
                    columns[std::size_t(c)].push_back(float(v));
                    f = comma ? comma + 1 : nl;
                }
                ++rows;
            }
            p = nl + 1;
        }
        have = std::size_t(end - p);
        std::memmove(buffer.data(), p, have);
    }
    return seconds(t0);
}

}  // namespace

int main(int argc, char** argv)
{
    const qint64 rows = argc > 1 ? std::atoll(argv[1]) : 10'000'000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.klg"));
    auto t0 = Clock::now();
    if (!generate(path, rows)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 2;
    }
    const qint64 bytes = QFileInfo(path).size();
    std::printf("generated %lld rows, %.1f MB in %.1f s\n", (long long)rows, bytes / 1e6,
                seconds(t0));

    // Warm the page cache the same way for every loader.
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        while (!f.read(1 << 22).isEmpty()) {
        }
    }

    const long baseKb = residentKb();
    auto* table = new logger::LogTable;
    auto* pyramid = new logger::ChartPyramid;
    qint64 maxRecords = 3600;
    table->resize(maxRecords + 1);
    t0 = Clock::now();
    QFile file(path);
    file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    logger::KlgReader reader(file);
    reader.readHeader();
    const qint64 estimate = bytes / logger::reckonedLineBytes;
    if (maxRecords < estimate) {
        maxRecords = estimate;
        table->resize(estimate + 1);
    }
    const logger::LoadResult result =
        logger::loadRecords(reader, *table, *pyramid, maxRecords, estimate, {});
    const double programS = seconds(t0);
    const long loadedKb = residentKb();
    std::printf("program reader: %lld rows in %.2f s (%.0f MB/s)\n", (long long)result.rows,
                programS, bytes / 1e6 / programS);
    const double rawFloatsMb = double(result.rows) * 15 * 4 / 1e6;
    std::printf("resident after load: %.0f MB (%.0f MB before), raw floats %.0f MB: %.3f x\n",
                loadedKb / 1024.0 * 1.048576, baseKb / 1024.0 * 1.048576, rawFloatsMb,
                loadedKb * 1.024 / 1000.0 / rawFloatsMb);

    // Decimation per frame: the chart of a 1600-pixel-wide window is 1435 pixels wide.
    const int width = 1600 - logger::chartMargin;
    std::vector<logger::ColumnEnvelope> env;
    std::vector<float> lo(static_cast<std::size_t>(width)), hi(static_cast<std::size_t>(width));
    // Consecutive repaints (as while scrolling or recording) first, the plain scans after, so
    // that they do not evict the pyramid between frames.
    for (int zoom : {1, 8, 64, 1024}) {
        const int frames = 20;
        double fastS = 0;
        volatile float sink = 0;
        for (int frame = 0; frame < frames; ++frame) {
            const qint64 cursor = 1 + result.rows * frame / frames;
            const logger::ViewSpan v = logger::visibleSpan(result.rows, zoom, cursor);
            const auto t = Clock::now();
            for (int c = 1; c <= 14; ++c) {
                logger::decimate(*table, *pyramid, c, v.first, v.last, width, env);
                sink = sink + env[std::size_t(width / 2)].max;
            }
            fastS += seconds(t);
        }
        double rawS = 0;
        for (int frame = 0; frame < frames; frame += 5) {
            const qint64 cursor = 1 + result.rows * frame / frames;
            const logger::ViewSpan v = logger::visibleSpan(result.rows, zoom, cursor);
            const auto t = Clock::now();
            const double step = logger::chartStep(width, v.span);
            for (int c = 1; c <= 14; ++c) {
                const float* ch = table->channel(c);
                std::fill(lo.begin(), lo.end(), INFINITY);
                std::fill(hi.begin(), hi.end(), -INFINITY);
                for (qint64 i = v.first; i <= v.last; ++i) {
                    const std::size_t p = std::size_t((i - v.first) * step + 0.5);
                    lo[p] = std::min(lo[p], ch[i]);
                    hi[p] = std::max(hi[p], ch[i]);
                }
                sink = sink + hi[std::size_t(width / 2)];
            }
            rawS += seconds(t);
        }
        const logger::ViewSpan v = logger::visibleSpan(result.rows, zoom, 1);
        const logger::ColumnPlan plan = logger::planColumns(*pyramid, v.first, v.last, width);
        std::printf(
            "decimation z=%-4d span %9lld rows, pyramid level %2d: %.3f ms per frame "
            "(plain scan %.2f ms)\n",
            zoom, (long long)v.span, plan.level, fastS / frames * 1000, rawS / (frames / 5) * 1000);
    }
    delete pyramid;
    delete table;

    qint64 naiveRows = 0, scanRows = 0;
    const double scanS = fromCharsLoad(path, scanRows);
    std::printf("plain from_chars loop: %lld rows in %.2f s; program reader %.2f x its speed\n",
                (long long)scanRows, scanS, scanS / programS);
    const double naiveS = naiveLoad(path.toStdString(), naiveRows);
    std::printf("naive getline + stod: %lld rows in %.2f s; program reader %.1f x faster\n",
                (long long)naiveRows, naiveS, naiveS / programS);
    return 0;
}
