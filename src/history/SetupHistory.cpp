// The history database: schema, start-up check, moving a damaged file aside, and the
// transactions that record and repeat entries.
#include "history/SetupHistory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <atomic>

namespace history {
namespace {

constexpr int schemaVersion = 1;

struct EventInfo {
    Event event;
    const char* code;
    const char* text;  // UTF-8
};

constexpr EventInfo events[] = {
    {Event::KvtRead, "kvt-read", "von KVT gelesen (-> PC)"},
    {Event::KvtWrite, "kvt-write", "an KVT geschrieben (-> KVT)"},
    {Event::EepromStore, "eeprom", "im EEPROM gespeichert (-> EEPROM)"},
    {Event::FileLoad, "file-load", "aus Datei geladen"},
    {Event::FileSave, "file-save", "in Datei gespeichert"},
    {Event::CliRead, "cli-read", "von KVT gelesen (motrix-cli)"},
    {Event::CliWrite, "cli-write", "an KVT geschrieben (motrix-cli)"},
};

// SQLite's primary result codes that mean the file itself is unusable.
bool damagedCode(const QSqlError& error)
{
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    return code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */;
}

QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("setup-history-%1").arg(++counter);
}

const char* const entryColumns =
    "id, at_ms, last_ms, repeats, event, device_type, hw, sw, bl, restarts, path, description";

// Empty texts are stored as empty texts: a null QString would bind as NULL.
QVariant text(const QString& s)
{
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

Entry entryFrom(const QSqlQuery& q)
{
    Entry e;
    e.id = q.value(0).toLongLong();
    e.at = QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong());
    e.lastAt = QDateTime::fromMSecsSinceEpoch(q.value(2).toLongLong());
    e.repeats = q.value(3).toInt();
    e.event = eventFromCode(q.value(4).toString()).value_or(Event::KvtRead);
    e.kvt = {q.value(5).toString(), q.value(6).toString(), q.value(7).toString(),
             q.value(8).toString(), q.value(9).toInt()};
    e.path = q.value(10).toString();
    e.description = q.value(11).toString();
    return e;
}

}  // namespace

QString eventCode(Event event)
{
    for (const EventInfo& info : events)
        if (info.event == event)
            return QString::fromLatin1(info.code);
    return {};
}

std::optional<Event> eventFromCode(const QString& code)
{
    for (const EventInfo& info : events)
        if (code == QLatin1String(info.code))
            return info.event;
    return std::nullopt;
}

QString eventText(Event event)
{
    for (const EventInfo& info : events)
        if (info.event == event)
            return QString::fromUtf8(info.text);
    return {};
}

QString KvtIdentity::key() const
{
    if (!identified())
        return QStringLiteral("-");
    return deviceType.trimmed() + QLatin1Char('|') + hw.trimmed() + QLatin1Char('|') +
           sw.trimmed() + QLatin1Char('|') + bl.trimmed();
}

SetupHistory::SetupHistory()
    : m_connection(newConnectionName()), m_clock([] { return QDateTime::currentDateTime(); })
{
}

SetupHistory::~SetupHistory()
{
    close();
}

QString SetupHistory::pathIn(const QString& directory)
{
    return QDir(directory).filePath(fileName());
}

void SetupHistory::close()
{
    if (QSqlDatabase::contains(m_connection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
    m_open = false;
}

bool SetupHistory::check(QString& why)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    // quick_check reads every page of the file: a torn or overwritten page is found here, at
    // start, and not in the middle of a save.
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
        why = q.lastError().text();
        return !damagedCode(q.lastError());
    }
    while (q.next()) {
        if (q.value(0).toString() != QLatin1String("ok")) {
            why = q.value(0).toString();
            return false;
        }
    }
    return true;
}

bool SetupHistory::createSchema(bool& damaged)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    const char* const statements[] = {
        "CREATE TABLE IF NOT EXISTS entries ("
        " id INTEGER PRIMARY KEY AUTOINCREMENT,"
        " at_ms INTEGER NOT NULL, last_ms INTEGER NOT NULL,"
        " repeats INTEGER NOT NULL DEFAULT 0, event TEXT NOT NULL,"
        " kvt_key TEXT NOT NULL, device_type TEXT NOT NULL, hw TEXT NOT NULL, sw TEXT NOT NULL,"
        " bl TEXT NOT NULL, restarts INTEGER NOT NULL,"
        " path TEXT NOT NULL, description TEXT NOT NULL, block BLOB NOT NULL)",
        "CREATE INDEX IF NOT EXISTS entries_by_kvt ON entries (kvt_key, id)",
    };
    for (const char* statement : statements) {
        if (!q.exec(QString::fromLatin1(statement))) {
            m_error = q.lastError().text();
            damaged = damagedCode(q.lastError());
            return false;
        }
    }
    return q.exec(QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion));
}

SetupHistory::Attempt SetupHistory::attemptOpen(QString& why)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid()) {
        why = QStringLiteral("SQLite-Treiber fehlt");
        return Attempt::Unusable;
    }
    db.setDatabaseName(m_path);
    // Another instance writing at the same moment is waited for, not taken as damage.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        why = db.lastError().text();
        return damagedCode(db.lastError()) ? Attempt::Damaged : Attempt::Unusable;
    }
    QSqlQuery q(db);
    // WAL: a write appends to the journal, and a crash in the middle leaves the database as
    // of the last commit; FULL puts every commit on the disk before it counts as done.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !q.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        why = q.lastError().text();
        return damagedCode(q.lastError()) ? Attempt::Damaged : Attempt::Unusable;
    }
    if (!check(why))
        return Attempt::Damaged;
    bool damaged = false;
    if (!createSchema(damaged)) {
        why = m_error;
        return damaged ? Attempt::Damaged : Attempt::Unusable;
    }
    return Attempt::Open;
}

OpenResult SetupHistory::open(const QString& directory, bool create)
{
    close();
    m_path = pathIn(directory);
    OpenResult result;
    if (!QFileInfo::exists(m_path) && !create) {
        result.message = QStringLiteral("Keine Setup-Historie in ") + directory;
        return result;
    }
    QString why;
    Attempt attempt = attemptOpen(why);
    if (attempt == Attempt::Damaged && create) {
        close();
        // The damaged file is kept beside the new one, never deleted: nothing else is lost.
        const QString stamp = m_clock().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        result.movedTo = m_path + QStringLiteral(".beschaedigt-") + stamp;
        QFile::remove(result.movedTo);
        if (!QFile::rename(m_path, result.movedTo)) {
            result.message = QStringLiteral(
                                 "Die Setup-Historie ist beschädigt und kann nicht "
                                 "beiseitegelegt werden:\r") +
                             m_path;
            return result;
        }
        for (const char* suffix : {"-wal", "-shm"}) {
            const QString journal = m_path + QLatin1String(suffix);
            QFile::remove(result.movedTo + QLatin1String(suffix));
            if (QFileInfo::exists(journal))
                QFile::rename(journal, result.movedTo + QLatin1String(suffix));
        }
        result.message = QStringLiteral("Die Setup-Historie war beschädigt (") + why +
                         QStringLiteral(") und wurde beiseitegelegt als\r") + result.movedTo +
                         QStringLiteral("\rEine neue Setup-Historie wurde angelegt.");
        attempt = attemptOpen(why);
    }
    if (attempt == Attempt::Open) {
        m_open = true;
        result.ok = true;
        return result;
    }
    close();
    m_error = why;
    if (result.movedTo.isEmpty())
        result.message = (attempt == Attempt::Damaged
                              ? QStringLiteral("Die Setup-Historie ist beschädigt:\r")
                              : QStringLiteral("Setup-Historie kann nicht geöffnet werden:\r")) +
                         m_path + QStringLiteral("\r") + why;
    return result;
}

qint64 SetupHistory::record(Event event, const KvtIdentity& kvt, const QString& path,
                            const QString& description, const QByteArray& block)
{
    if (!m_open) {
        m_error = QStringLiteral("Setup-Historie nicht geöffnet");
        return 0;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    const qint64 now = m_clock().toMSecsSinceEpoch();
    const QString key = kvt.key();
    // IMMEDIATE takes the write lock before the comparison, so two programs recording at once
    // cannot both find the same last entry.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        m_error = q.lastError().text();
        return 0;
    }
    const auto fail = [&](const QSqlQuery& failed) -> qint64 {
        m_error = failed.lastError().text();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return 0;
    };
    q.prepare(
        QStringLiteral("SELECT id, event, path, description, block FROM entries "
                       "WHERE kvt_key = ? ORDER BY id DESC LIMIT 1"));
    q.addBindValue(key);
    if (!q.exec())
        return fail(q);
    qint64 id = 0;
    if (q.next() && q.value(1).toString() == eventCode(event) && q.value(2).toString() == path &&
        q.value(3).toString() == description && q.value(4).toByteArray() == block) {
        id = q.value(0).toLongLong();
        q.finish();
        q.prepare(QStringLiteral(
            "UPDATE entries SET repeats = repeats + 1, last_ms = ?, restarts = ? WHERE id = ?"));
        q.addBindValue(now);
        q.addBindValue(kvt.restarts);
        q.addBindValue(id);
        if (!q.exec())
            return fail(q);
    } else {
        q.finish();
        q.prepare(QStringLiteral(
            "INSERT INTO entries (at_ms, last_ms, repeats, event, kvt_key, device_type, hw, sw, "
            "bl, restarts, path, description, block) VALUES (?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?)"));
        for (const QVariant& v :
             {QVariant(now), QVariant(now), QVariant(eventCode(event)), QVariant(key),
              text(kvt.deviceType), text(kvt.hw), text(kvt.sw), text(kvt.bl),
              QVariant(kvt.restarts), text(path), text(description), QVariant(block)})
            q.addBindValue(v);
        if (!q.exec())
            return fail(q);
        id = q.lastInsertId().toLongLong();
    }
    if (!q.exec(QStringLiteral("COMMIT")))
        return fail(q);
    return id;
}

std::vector<Entry> SetupHistory::list(const QString& kvtKey) const
{
    std::vector<Entry> out;
    if (!m_open)
        return out;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    QString sql = QStringLiteral("SELECT %1 FROM entries").arg(QLatin1String(entryColumns));
    if (!kvtKey.isEmpty())
        sql += QStringLiteral(" WHERE kvt_key = ?");
    q.prepare(sql + QStringLiteral(" ORDER BY id DESC"));
    if (!kvtKey.isEmpty())
        q.addBindValue(kvtKey);
    if (!q.exec()) {
        m_error = q.lastError().text();
        return out;
    }
    while (q.next())
        out.push_back(entryFrom(q));
    return out;
}

std::optional<Entry> SetupHistory::get(qint64 id) const
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT %1, block FROM entries WHERE id = ?")
                  .arg(QLatin1String(entryColumns)));
    q.addBindValue(id);
    if (!q.exec() || !q.next()) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    Entry e = entryFrom(q);
    e.block = q.value(12).toByteArray();
    return e;
}

std::vector<KvtIdentity> SetupHistory::kvts() const
{
    std::vector<KvtIdentity> out;
    if (!m_open)
        return out;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("SELECT device_type, hw, sw, bl, restarts FROM entries WHERE id IN "
                               "(SELECT MAX(id) FROM entries GROUP BY kvt_key) ORDER BY id DESC")))
        return out;
    while (q.next())
        out.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                       q.value(3).toString(), q.value(4).toInt()});
    return out;
}

}  // namespace history
