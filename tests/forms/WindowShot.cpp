// Shows one window of the program at its design size in the top-left corner of the screen, for
// screenshots of the layouts (run under a virtual X server and capture the root window):
//   window_shot settings|system|learn|main [seconds] [content.png]
// Prints the content's minimum size and the window's size; with a file name it also saves the
// whole content, scrolled parts included, as an image.
#include "app/Motrix.h"
#include "support/FakeDialogs.h"

#include <QApplication>
#include <QPixmap>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("settings");
    const int seconds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 5;
    const std::pair<const char*, app::WindowId> names[] = {
        {"main", app::WindowId::Main},     {"settings", app::WindowId::Settings},
        {"system", app::WindowId::System}, {"learn", app::WindowId::Learn},
        {"help", app::WindowId::Help},     {"test", app::WindowId::Test},
        {"expert", app::WindowId::Expert}, {"logger", app::WindowId::Logger},
    };
    app::WindowId id = app::WindowId::Settings;
    for (const auto& [name, windowId] : names)
        if (which == QLatin1String(name))
            id = windowId;

    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    app::Motrix motrix(dialogs, dir.path() + QStringLiteral("/"));
    forms::Window& window = motrix.windows()[id];
    const app::WindowInfo& info = app::windowInfo(id);
    window.resize(info.width, info.height);
    window.move(0, 0);
    window.open();
    QTimer::singleShot(300, [&] {
        const QSize needed = window.content()->minimumSizeHint();
        std::printf("%s: window %dx%d, content needs %dx%d\n", qPrintable(which), window.width(),
                    window.height(), needed.width(), needed.height());
        std::fflush(stdout);
        if (argc > 3)
            window.content()->grab().save(QString::fromLocal8Bit(argv[3]));
    });
    QTimer::singleShot(seconds * 1000, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}
