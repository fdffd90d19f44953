// motrix-torture: types hostile and random texts into every input field of every window of the
// program and takes them over; exits 1 when a stored value leaves its range or a shown text
// does not read back, and prints the figures of the run.
//
//   QT_QPA_PLATFORM=offscreen motrix-torture --seed 16 --fixed 3 --random 1   (quick)
//   QT_QPA_PLATFORM=offscreen motrix-torture --seed 20261208 --random 200     (long run)
#include "HostileTexts.h"
#include "TortureRun.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Typed-input torture of every input field"));
    parser.addHelpOption();
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."),
                                  QStringLiteral("n"), QStringLiteral("16"));
    const QCommandLineOption fixed(
        QStringLiteral("fixed"),
        QStringLiteral("Fixed hostile texts per field (-1: all of them, the default)."),
        QStringLiteral("n"), QStringLiteral("-1"));
    const QCommandLineOption random(QStringLiteral("random"),
                                    QStringLiteral("Random texts per field."), QStringLiteral("n"),
                                    QStringLiteral("4"));
    const QCommandLineOption window(QStringLiteral("window"),
                                    QStringLiteral("Only the window whose name starts so."),
                                    QStringLiteral("name"));
    const QCommandLineOption list(QStringLiteral("list"),
                                  QStringLiteral("Print every field covered."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Progress per field."));
    parser.addOptions({seed, fixed, random, window, list, verbose});
    parser.process(app);

    torture::Options o;
    o.seed = parser.value(seed).toULongLong();
    o.fixedPerField = parser.value(fixed).toInt();
    o.randomPerField = parser.value(random).toInt();
    o.onlyWindow = parser.value(window);
    o.verbose = parser.isSet(verbose);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary program directory\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const torture::Figures f = torture::runTorture(o, dir.path());

    std::printf(
        "typed-input torture, %s, seed %llu, fixed texts per field %s of %d, random "
        "%d\n",
        qPrintable(QDateTime::currentDateTimeUtc().toString(Qt::ISODate)),
        static_cast<unsigned long long>(o.seed),
        o.fixedPerField < 0 ? "all" : qPrintable(QString::number(o.fixedPerField)),
        int(torture::fixedHostileTexts().size()), o.randomPerField);
    int total = 0;
    for (auto it = f.fieldsPerWindow.cbegin(); it != f.fieldsPerWindow.cend(); ++it) {
        std::printf("  %-40s %3d fields\n", qPrintable(it.key()), it.value());
        total += it.value();
    }
    std::printf(
        "windows %d, fields %d, texts typed %lld, take-overs %lld, take-over button "
        "clicks %lld, map values typed %lld, messages %d, questions %d, %.1f s\n",
        int(f.fieldsPerWindow.size()), total, f.textsTyped, f.takeOvers, f.buttonClicks,
        f.mapValuesTyped, f.messages, f.questions, clock.elapsed() / 1000.0);
    if (parser.isSet(list))
        for (const QString& field : f.fields)
            std::printf("  field: %s\n", qPrintable(field));
    std::printf("crashes 0, faults %d\n", int(f.faults.size()));
    for (const QString& line : f.faults)
        std::printf("  FAULT %s\n", qPrintable(line));
    return f.faults.isEmpty() ? 0 : 1;
}
