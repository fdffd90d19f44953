// Saving and loading comparison files from the power window: the file dialogs, the questions,
// the log lines and the folder and name of the current measurement remembered between them.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "power/PowerFile.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

namespace power {

// The current measurement as the window holds it.
struct PowerDocument {
    MeasurementInfo info;
    PowerParameters parameters;
    PowerOptions options;
    PowerSamples samples{};  // time and speed of the run
    PowerCurve curve{};      // slot 1 as last computed
};

class PowerFiles final {
public:
    enum class Outcome { Cancelled, Refused, Failed, Done };
    using Clock = std::function<QDateTime()>;

    PowerFiles(app::Dialogs& dialogs, app::MessageLog& log);

    void setClock(Clock clock) { m_clock = std::move(clock); }

    // "Sichern": writes the document with the connected KVT's versions; on success the date,
    // time and versions of the document become those written. A failed save changes nothing.
    Outcome save(PowerDocument& document, const QString& hardware, const QString& software);

    // "Laden" in the file area: replaces parameters, samples, options and texts of the
    // document. The caller recomputes the grid. A file that cannot be read changes nothing.
    Outcome loadMeasurement(PowerDocument& document);

    // "Laden" beside "Kurve 2:" (slot 2) or "Kurve 3:" (slot 3): the stored grid and labels.
    // A file that cannot be read clears the slot and its labels.
    Outcome loadComparison(int slot, PowerCurve& curve, ComparisonLabels& labels);

    const QString& directory() const { return m_directory; }
    const QString& fileName() const { return m_fileName; }
    // The folder as the window shows it: the first and last 25 characters around " ... ".
    static QString shortFolder(const QString& folder);

private:
    QString startPath() const;
    // The chosen name after the extension question; nothing when cancelled or refused.
    std::optional<QString> askOpen(const QString& refusedLog, Outcome* outcome);

    app::Dialogs& m_dialogs;
    app::MessageLog& m_log;
    QString m_directory;
    QString m_fileName;
    Clock m_clock;
};

// Reads a whole comparison file (at most a few megabytes); nothing when it cannot be read.
std::optional<QByteArray> readPowerFile(const QString& path);

}  // namespace power
