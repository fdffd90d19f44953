#include "app/core/UnplannedError.h"

#include "app/core/ProgramInfo.h"

#include <QtGlobal>
#include <cstdlib>
#include <exception>
#include <unistd.h>

namespace app {

namespace {
Dialogs* handlerDialogs = nullptr;
MessageLog* handlerLog = nullptr;
QtMessageHandler previousHandler = nullptr;
bool reporting = false;

[[noreturn]] void endAfterReport(const QString& error, const QString& location)
{
    if (!reporting && handlerDialogs && handlerLog) {
        reporting = true;  // a failure while reporting must not recurse
        reportUnplannedError(*handlerDialogs, *handlerLog, error, location);
    }
    _exit(1);
}

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        if (previousHandler)
            previousHandler(type, context, text);
        return;
    }
    endAfterReport(text, QString::number(context.line));
}

void terminateHandler()
{
    QString text = QStringLiteral("unbekannter Fehler");
    if (auto current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            text = QString::fromLocal8Bit(e.what());
        } catch (...) {
        }
    }
    endAfterReport(text, QStringLiteral("0"));
}
}  // namespace

void reportUnplannedError(Dialogs& dialogs, MessageLog& log, const QString& error,
                          const QString& location)
{
    dialogs.message(QStringLiteral("Oops..."),
                    QStringLiteral("Der folgende (ungeplante) Fehler trat auf: \r\r") + error +
                        QStringLiteral("\rin Zeile ") + location + QStringLiteral("\r\r") +
                        programName + QStringLiteral(" wird jetzt unplanmäßig beendet."));
    log.logMessage(QStringLiteral("*** ERROR: ") + error + QStringLiteral(" (Zeile ") + location +
                   QStringLiteral(" )"));
    log.logMessage(QStringLiteral("KVT beenden ... Tschuess..."));
}

void installUnplannedErrorHandler(Dialogs* dialogs, MessageLog* log)
{
    handlerDialogs = dialogs;
    handlerLog = log;
    previousHandler = qInstallMessageHandler(messageHandler);
    std::set_terminate(terminateHandler);
}

}  // namespace app
