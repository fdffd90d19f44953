// Motrix: configures and diagnoses the KVT engine control unit over a serial line.
#include "app/Motrix.h"
#include "app/core/ProgramInfo.h"
#include "app/QtDialogs.h"
#include "app/core/UnplannedError.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <sys/prctl.h>

int main(int argc, char** argv)
{
    // Timers fire close to their period: at a 5 ms COM-Timer the default slack of the kernel
    // would cost a noticeable share of the polls.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    QApplication application(argc, argv);
    QApplication::setApplicationName(app::programName);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/motrix.png")));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);

    app::QtDialogs dialogs;
    app::Motrix motrix(dialogs, app::programDirectory());
    app::installUnplannedErrorHandler(&dialogs, &motrix.log());
    return motrix.run();
}
