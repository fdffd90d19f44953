// The history of setups: every setup read from or written to the KVT, stored in its EEPROM,
// loaded from or saved to a file is kept in an embedded database in the program directory,
// with the time, what happened, the identity of the KVT and the 578-byte block. QtCore and
// QtSql only, so the program, motrix-cli and the tests share it without windows.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

namespace history {

// What happened to the setup. The codes are what the database and the JSON output keep.
enum class Event { KvtRead, KvtWrite, EepromStore, FileLoad, FileSave, CliRead, CliWrite };

QString eventCode(Event event);
std::optional<Event> eventFromCode(const QString& code);
// German text for lists and the command line.
QString eventText(Event event);

// The connected KVT as identification reported it; empty texts when none was identified.
struct KvtIdentity {
    QString deviceType;
    QString hw;
    QString sw;
    QString bl;
    int restarts = 0;
    bool identified() const { return !deviceType.trimmed().isEmpty() || !hw.trimmed().isEmpty(); }
    // Entries are grouped per KVT by type and versions: the restart count grows with every
    // start and the KVT has no serial number.
    QString key() const;
    bool operator==(const KvtIdentity&) const = default;
};

struct Entry {
    qint64 id = 0;
    QDateTime at;      // first time
    QDateTime lastAt;  // last repeat (equal to at when never repeated)
    int repeats = 0;   // further times the same entry came directly again
    Event event = Event::KvtRead;
    KvtIdentity kvt;
    QString path;
    QString description;
    QByteArray block;  // empty in lists
};

// What open() found.
struct OpenResult {
    bool ok = false;
    // Set when a damaged database was moved aside and a new one started, or when the history
    // cannot be used at all: the text to show the user.
    QString message;
    QString movedTo;  // the damaged file's new name
};

class SetupHistory final {
public:
    using Clock = std::function<QDateTime()>;

    SetupHistory();
    ~SetupHistory();
    SetupHistory(const SetupHistory&) = delete;
    SetupHistory& operator=(const SetupHistory&) = delete;

    static QString fileName() { return QStringLiteral("Setup-Historie.db"); }
    static QString pathIn(const QString& directory);

    // Opens (or creates) the database in directory and checks it. A damaged file is moved
    // aside with its journal files and a new database is started. With create off a missing
    // or damaged database is reported and left alone (the command line only looks).
    OpenResult open(const QString& directory, bool create = true);
    bool isOpen() const { return m_open; }
    void close();
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // Records one setup in a transaction. An entry equal to the last one of the same KVT
    // (same event, file, description and block) only counts a repeat. Returns the entry's id,
    // 0 on failure (lastError() says why).
    qint64 record(Event event, const KvtIdentity& kvt, const QString& path,
                  const QString& description, const QByteArray& block);

    // Newest first, without blocks; kvtKey empty for all KVTs.
    std::vector<Entry> list(const QString& kvtKey = {}) const;
    std::optional<Entry> get(qint64 id) const;
    // The KVTs seen, newest first, one entry each (the latest identity).
    std::vector<KvtIdentity> kvts() const;

    QString lastError() const { return m_error; }

private:
    enum class Attempt { Open, Damaged, Unusable };
    Attempt attemptOpen(QString& why);
    bool check(QString& why);
    bool createSchema(bool& damaged);

    QString m_connection;
    QString m_path;
    bool m_open = false;
    Clock m_clock;
    mutable QString m_error;
};

}  // namespace history
