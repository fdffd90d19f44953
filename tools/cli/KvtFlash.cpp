// "kvt flash": the program's firmware update (FirmwareUpdate over LinkBootLine, ByteWatch for
// the boot loader's bytes, the same step per tick) without its window, and the two ways out of
// a boot loader left waiting by a cut-off update (BootRecovery): --resume sends the file from
// block 1, --cancel lets the KVT restart its old firmware. The marker of a running update is
// the program's own, so the program and motrix-cli each know of an update the other left.
#include "KvtVerbs.h"
#include "StopSignals.h"

#include "app/core/ProgramInfo.h"
#include "firmware/BootRecovery.h"
#include "firmware/ByteWatch.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/LinkBootLine.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <unistd.h>

namespace cli {
namespace {

// The update's tick: the attention byte goes out once per tick until the boot loader answers;
// after that ByteWatch lets every frame follow its ACK at once.
constexpr int tickMs = 20;
// The boot loader answers the probe's attention byte at once; this covers the line and a busy
// machine.
constexpr int probeAnswerMs = 100;
// One byte's line time with room to spare.
constexpr int cancelLineMs = 20;

// The area's labels as lines: on a terminal the decoding and the blocks on one line that is
// rewritten, otherwise the status lines and about every tenth block.
class FlashView final : public firmware::UpdateView {
public:
    FlashView(QTextStream& out, bool terminal) : m_out(out), m_terminal(terminal) {}
    ~FlashView() override { endLine(); }

    void setProgressMaximum(int maximum) override { m_maximum = maximum; }
    void setProgress(int value) override { m_progress = value; }
    void showStatus(const QString& text) override
    {
        m_last = text;
        const bool block = text.startsWith(QStringLiteral("übertrage"));
        const bool decoding = text.startsWith(QStringLiteral("decodiere"));
        const QString line =
            block ? text + QStringLiteral("  [%1/%2]").arg(m_progress).arg(m_maximum) : text;
        if (m_terminal && (block || decoding)) {
            m_out << "\r" << line.leftJustified(m_width) << Qt::flush;
            m_width = int(line.size());
            m_open = true;
            return;
        }
        // One line per decoded block would drown the rest.
        if (decoding)
            return;
        if (block && m_maximum > 10 && m_progress != 1 && m_progress != m_maximum &&
            m_progress % (m_maximum / 10) != 0)
            return;
        endLine();
        m_out << line << "\n" << Qt::flush;
    }
    const QString& lastStatus() const { return m_last; }

private:
    void endLine()
    {
        if (m_open)
            m_out << "\n" << Qt::flush;
        m_open = false;
        m_width = 0;
    }

    QTextStream& m_out;
    bool m_terminal;
    bool m_open = false;
    int m_width = 0;
    int m_maximum = 0;
    int m_progress = 0;
    QString m_last;
};

// Runs the update's ticks until it ends (done, cancelled, the port lost).
void runUpdate(KvtSession& session, firmware::FirmwareUpdate& update, firmware::BootLine& line)
{
    QEventLoop loop;
    firmware::ByteWatch watch(update, line, [] { return false; });
    QTimer tick;
    tick.setInterval(tickMs);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        // Ctrl+C: as when the program ends mid-update, the boot loader gets the cancel byte.
        if (StopSignals::requested())
            update.abortForQuit();
        // As the program's COM timer: connectStep notices a lost port, identifies nothing.
        session.link().connectStep();
        update.step();
        watch.follow();
        if (!update.busy())
            loop.quit();
    });
    watch.follow();
    tick.start();
    if (update.busy())
        loop.exec();
    watch.follow();
}

// A KVT that does not answer "I" gets the program's probe; a boot loader that answers it is
// resumed (Ja) or cancelled (Nein) as the program's question would be answered.
void recoverWaitingBootLoader(KvtSession& session, firmware::BootRecovery& recovery, bool resumeIt)
{
    devlink::DeviceLink& link = session.link();
    // "I" first: a KVT that answers runs its firmware and waits for nothing.
    if (session.openPort() != 0 || link.identified())
        return;
    recovery.searchRequested();
    recovery.afterConnectStep();
    link.line().pause(probeAnswerMs);
    session.dialogs().setAnswer(resumeIt);
    recovery.beforeConnectStep();
}

}  // namespace

int kvtFlash(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream& err)
{
    const QString path = options.files.value(0);
    if (!options.cancel) {
        if (firmware::kindOfFile(QFileInfo(path).fileName()) == firmware::FileKind::Other) {
            err << "motrix-cli: " << path << ": keine firmware-Datei (.hex oder .bin erwartet)\n";
            return 2;
        }
        if (!QFileInfo(path).isFile()) {
            err << "motrix-cli: " << path << ": Datei kann nicht geöffnet werden\n";
            return 2;
        }
    }
    FlashView view(out, isatty(STDOUT_FILENO) == 1);
    firmware::LinkBootLine line(session.link());
    firmware::FirmwareUpdate update(session.dialogs(), session.log(), line);
    firmware::BootRecovery recovery(session.dialogs(), session.log(), line, update,
                                    app::programDirectory());
    update.setView(&view);
    recovery.setView(&view);
    update.setTracker(&recovery);
    const bool recovering = options.resume || options.cancel;
    // An update cut off by the program or an earlier run: its file's size is checked on resume.
    if (recovering)
        recovery.takeOverMarker();
    if (!options.cancel)
        update.setChosenFile(QFileInfo(path).absoluteFilePath());

    if (recovering) {
        recoverWaitingBootLoader(session, recovery, options.resume);
        if (!session.link().portOpen())
            return 2;
        if (session.link().identified()) {
            err << "motrix-cli: KVT meldet sich mit firmware - kein Bootloader wartet\n";
            return 1;
        }
        if (options.cancel) {
            // The cancel byte must be on the line before the port closes.
            session.link().line().pause(cancelLineMs);
            return view.lastStatus() == QLatin1String("update durch Benutzer abgebrochen!") ? 0 : 1;
        }
        if (!update.busy())
            return 1;
    } else {
        if (const int opened = session.open(); opened != 0) {
            if (opened == 1)
                err << "Wartet die KVT im Bootloader auf ein abgebrochenes update? Dann mit "
                       "--resume fortsetzen oder mit --cancel abbrechen.\n";
            return opened;
        }
        // The checklist of the program's start is shown (on stderr) and taken as read.
        update.updateClicked();
        if (!update.busy())
            return 2;
    }
    const StopSignals stopSignals;
    runUpdate(session, update, line);
    // The last byte (the end or the cancel byte) must be on the line before the port closes.
    session.link().line().pause(cancelLineMs);
    return view.lastStatus() == QLatin1String("update erfolgreich beendet") ? 0 : 1;
}

}  // namespace cli
