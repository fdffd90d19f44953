// Opening the port and identifying the KVT for a command-line run.
#include "KvtSession.h"

#include "link/PortHelp.h"
#include "link/PosixSerialPort.h"

#include <cerrno>
#include <memory>

namespace cli {
namespace {

// A KVT that was just powered or left stray bytes on the line may miss the first "I"; the
// program tries again at its next ticks, a script gets the same few chances.
constexpr int identifyAttempts = 3;

}  // namespace

void KvtSession::View::showPortHelp(const QString& advice)
{
    m_err << advice << "\n";
    m_err.flush();
}

KvtSession::KvtSession(const QString& portPath, QTextStream& err)
    : m_path(portPath), m_err(err), m_dialogs(err), m_view(m_path, err),
      m_link(m_log, [] { return std::make_unique<devlink::PosixSerialPort>(); })
{
    m_log.setStatusSink([this](const QString& text) {
        if (m_quiet) {
            m_keptBack << text;
            return;
        }
        m_err << text << "\n";
        m_err.flush();
    });
    m_link.setView(&m_view);
}

KvtSession::~KvtSession()
{
    m_link.closePort();
    m_link.setView(nullptr);
}

int KvtSession::openPort()
{
    m_link.connectStep();
    if (!m_link.portOpen()) {
        showKeptBack();
        // The program's help covers a refused device; a path that names no device at all
        // gets the device names to look for.
        const devlink::SerialPort* port = m_link.connection().port();
        const int error = port ? port->openError() : 0;
        if (error == ENOENT || error == ENOTDIR || error == ENXIO || error == ENODEV)
            m_err << devlink::missingDeviceAdvice(m_path) << "\n";
        m_err.flush();
        return 2;
    }
    return 0;
}

int KvtSession::open()
{
    if (const int opened = openPort(); opened != 0)
        return opened;
    for (int attempt = 1; attempt < identifyAttempts && !m_link.identified(); ++attempt) {
        if (!m_link.portOpen())
            break;
        m_link.connectStep();
    }
    if (m_link.identified())
        return 0;
    showKeptBack();
    m_err << "KVT an " << m_path << " antwortet nicht\n";
    m_err.flush();
    return m_link.portOpen() ? 1 : 2;
}

void KvtSession::showKeptBack()
{
    for (const QString& text : std::as_const(m_keptBack))
        m_err << text << "\n";
    m_keptBack.clear();
    m_err.flush();
}

int KvtSession::finish(int status)
{
    if (status != 0)
        showKeptBack();
    return status;
}

void KvtSession::reportFailedReply()
{
    if (m_link.replyStatus() == devlink::ReplyStatus::Ok)
        return;
    m_link.identification().evaluateReplyStatus();
}

}  // namespace cli
