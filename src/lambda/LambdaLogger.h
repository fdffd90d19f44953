// The lambda logger's operations: reading and clearing the KVT's tables, live recording, the
// comment, and saving and loading ".kll" files with their dialogs, questions and log lines.
// Free of widgets; the lambda window calls it and shows its state.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "lambda/KllFile.h"
#include "lambda/LambdaLink.h"
#include "link/LiveRecord.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace lambda {

class LambdaLogger final {
public:
    using Clock = std::function<QDateTime()>;
    // Called with the KVT's lambdaLogging flag after a good "B" reply.
    using LoggingFlagHook = std::function<void(bool)>;

    // The link must outlive the logger.
    LambdaLogger(LambdaLink& link, app::Dialogs& dialogs, app::MessageLog& log,
                 QString startDirectory);

    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setLoggingFlagHook(LoggingFlagHook hook) { m_loggingFlag = std::move(hook); }

    // "B": fills the table from the KVT's EEPROM or RAM. Nothing is sent without an identified
    // KVT; a failed reply leaves table and flag as they were. Returns whether the table was read.
    bool readFromKvt(bool eeprom);
    // "C": clears the KVT's table (only while identified).
    void clearInKvt(bool eeprom);
    // "Werte löschen".
    void clearTable() { m_doc.table.clear(); }

    // Live recording ("Vitaldaten lesen"), fed with every polled record.
    void setRecording(bool on) { m_recording = on; }
    bool recording() const { return m_recording; }
    void onLiveRecord(const devlink::LiveRecord& record);

    // The comment field lost the focus: returns the cleaned text to write back.
    QString editComment(const QString& text);

    // "Sichern" and "Laden". Returns true when a file was written or read.
    bool save();
    bool load();

    const LambdaTable& table() const { return m_doc.table; }
    LambdaTable& table() { return m_doc.table; }
    const KllDocument& document() const { return m_doc; }
    const QString& directory() const { return m_directory; }
    const QString& fileName() const { return m_fileName; }

private:
    QString startPath() const;
    void remember(const QString& path);

    LambdaLink& m_link;
    app::Dialogs& m_dialogs;
    app::MessageLog& m_log;
    Clock m_clock;
    LoggingFlagHook m_loggingFlag;
    KllDocument m_doc;
    QString m_directory;
    QString m_fileName;
    bool m_recording = false;
};

}  // namespace lambda
