// One motrix-cli command's connection to a KVT: the program's own DeviceLink on the real
// serial port, "COM" ticked on the given path, the link's messages and the port help on
// stderr. open() does what the program's first ticks do: open the port and identify the KVT.
#pragma once

#include "ScriptDialogs.h"

#include "app/core/MessageLog.h"
#include "link/DeviceLink.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace cli {

class KvtSession final {
public:
    KvtSession(const QString& portPath, QTextStream& err);
    ~KvtSession();
    KvtSession(const KvtSession&) = delete;
    KvtSession& operator=(const KvtSession&) = delete;

    // 0 when the KVT is identified, 1 when the port opened but no KVT answered properly, 2 when
    // the port cannot be used; the reasons are on stderr.
    int open();
    // Only the first tick: the port opened (and one "I" asked), 0, or 2 with the reasons.
    int openPort();
    // The link's messages are kept back and shown only when the command fails (finish()).
    void setQuiet(bool quiet) { m_quiet = quiet; }
    // The end of the command with its exit status: kept-back messages of a failure are shown.
    int finish(int status);
    // Prints the message of a reply that failed since the last tick ("COM Fehler - timeout",
    // "Protokollfehler") and forgets the identification, as the program's next tick would.
    void reportFailedReply();

    devlink::DeviceLink& link() { return m_link; }
    app::MessageLog& log() { return m_log; }
    ScriptDialogs& dialogs() { return m_dialogs; }
    const QString& portPath() const { return m_path; }

private:
    void showKeptBack();

    class View final : public devlink::LinkView {
    public:
        View(const QString& path, QTextStream& err) : m_path(path), m_err(err) {}
        bool comTicked() const override { return true; }
        QString selectedPortText() const override { return m_path; }
        void showPortHelp(const QString& advice) override;

    private:
        const QString& m_path;
        QTextStream& m_err;
    };

    QString m_path;
    QTextStream& m_err;
    bool m_quiet = false;
    QStringList m_keptBack;
    app::MessageLog m_log;
    ScriptDialogs m_dialogs;
    View m_view;
    devlink::DeviceLink m_link;
};

}  // namespace cli
