#include "SaveKinds.h"

#include "app/core/ProgramSettings.h"
#include "app/core/SettingsStore.h"
#include "lambda/LambdaLogger.h"
#include "logger/LogFormat.h"
#include "logger/LogRecorder.h"
#include "logger/LogTable.h"
#include "power/PowerFiles.h"
#include "setup/SetupStore.h"

#include <QDir>
#include <QFileInfo>

namespace savecrash {

void ScriptedDialogs::message(const QString& title, const QString& text)
{
    messages << title + QLatin1Char('|') + text;
}
bool ScriptedDialogs::question(const QString&, const QString&)
{
    return true;
}
std::optional<QString> ScriptedDialogs::input(const QString&, const QString&, const QString&, bool)
{
    return std::nullopt;
}
QString ScriptedDialogs::openFile(const QString&, const QString&, const QString&)
{
    return {};
}
QString ScriptedDialogs::saveFile(const QString&, const QString&, const QString&)
{
    return fileAnswer;
}
QString ScriptedDialogs::folder(const QString&, const QString&)
{
    return folderAnswer;
}
bool ScriptedDialogs::print(const QString&, const std::function<void(QPagedPaintDevice&)>&)
{
    return false;
}

namespace {

const QDateTime savedAt(QDate(2026, 3, 14), QTime(15, 9, 26));

// --- Motrix.cfg ---

struct SettingsSave final : PreparedSave {
    QString folder;
    app::ProgramSettings settings;
    bool save() override { return app::writeSettingsFile(folder, settings, dialogs, log); }
};

std::unique_ptr<PreparedSave> prepareSettings(const QString& folder, const QString&, int variant)
{
    auto s = std::make_unique<SettingsSave>();
    s->folder = folder + QLatin1Char('/');
    s->settings.portName = variant ? QStringLiteral("/dev/ttyUSB1") : QStringLiteral("/dev/ttyS0");
    s->settings.comAtStart = variant != 0;
    s->settings.loggerPeriod = variant ? 250 : 500;
    s->settings.messageFile = variant != 0;
    return s;
}

// --- setup file ---

struct SetupSave final : PreparedSave {
    setup::SetupStore store{dialogs, log, QString()};
    setup::SetupDocument document;
    setup::SetupOrigin origin;
    bool save() override
    {
        return store.save(document, origin) == setup::SetupStore::Outcome::Done;
    }
};

std::unique_ptr<PreparedSave> prepareSetup(const QString& folder, const QString&, int variant)
{
    auto s = std::make_unique<SetupSave>();
    s->dialogs.fileAnswer = folder + QStringLiteral("/motor.kvt");
    s->store.setClock([] { return savedAt; });
    for (std::size_t i = 0; i < s->document.record.injectionMap.size(); ++i)
        s->document.record.injectionMap[i] = quint16(variant ? 2000 + 7 * i : 1500 + 3 * i);
    s->document.description = variant ? QStringLiteral("neu abgestimmt") : QStringLiteral("alt");
    s->origin = {QStringLiteral("KVT 3Zyl"), QStringLiteral("2.1"), QStringLiteral("4.7"),
                 QStringLiteral("1.3"), QString::number(100 + variant)};
    return s;
}

// --- "Log sichern" ---

constexpr int logRows = 40000;  // about 2.5 MB, so that kills land while it is written

// A recording of logRows rows in work/<variant>, made once; "Log sichern" of its table into
// the target folder is what is timed.
struct LogSave final : PreparedSave {
    app::ProgramSettings settings;
    logger::LogTable table;
    std::unique_ptr<logger::LogRecorder> recorder;
    qint64 clock = 0;
    qint64 row = 0;
    bool save() override
    {
        recorder->save();
        return log.statusText().endsWith(QStringLiteral(" gesichert"));
    }
};

std::unique_ptr<PreparedSave> prepareLog(const QString& folder, const QString& work, int variant)
{
    auto s = std::make_unique<LogSave>();
    s->settings.loggerCapacity = logRows;
    s->table.resize(logRows + 1);
    LogSave* p = s.get();
    logger::LogRecorder::Hooks hooks;
    hooks.clockMs = [p] { return p->clock; };
    hooks.now = [] { return savedAt; };
    hooks.identified = [] { return true; };
    hooks.hw = [] { return QStringLiteral("2.1"); };
    hooks.sw = [] { return QStringLiteral("4.7"); };
    hooks.liveValues = [p, variant] {
        std::array<double, 14> v{};
        for (std::size_t c = 0; c < v.size(); ++c)
            v[c] = double((p->row * qint64(c + 3) + variant * 977) % 9000);
        return v;
    };
    const QString source = work + QLatin1Char('/') + QString::number(variant);
    const QString recorded = QDir(source).filePath(logger::logFileName(savedAt));
    s->recorder = std::make_unique<logger::LogRecorder>(s->table, s->settings, s->dialogs, s->log,
                                                        source, hooks);
    if (!QFileInfo::exists(recorded)) {
        QDir().mkpath(source);
        s->recorder->start();
        for (p->row = 1; p->row <= logRows; ++p->row, p->clock += 20)
            s->recorder->tick();
        s->recorder->stop();
    }
    s->recorder->readLogFile(recorded);
    s->recorder->setComment(variant ? QStringLiteral("Lauf 2") : QStringLiteral("Lauf 1"));
    s->dialogs.folderAnswer = folder;
    s->recorder->choosePath();
    s->recorder->setView(nullptr);
    return s;
}

// --- power comparison ---

struct PowerSave final : PreparedSave {
    power::PowerFiles files{dialogs, log};
    power::PowerDocument document;
    bool save() override
    {
        return files.save(document, QStringLiteral("2.1"), QStringLiteral("4.7")) ==
               power::PowerFiles::Outcome::Done;
    }
};

std::unique_ptr<PreparedSave> preparePower(const QString& folder, const QString&, int variant)
{
    auto s = std::make_unique<PowerSave>();
    s->dialogs.fileAnswer = folder + QStringLiteral("/lauf.klv");
    s->files.setClock([] { return savedAt; });
    s->document.info.description =
        variant ? QStringLiteral("mit Resorohr") : QStringLiteral("ohne");
    for (std::size_t i = 0; i < s->document.samples.size(); ++i) {
        s->document.samples[i].time = float(i * 10);
        s->document.samples[i].speed = float(3000 + i * (variant ? 13 : 11));
    }
    return s;
}

// --- lambda log ---

struct LambdaSave final : PreparedSave {
    lambda::NoLambdaLink link;
    lambda::LambdaLogger logger{link, dialogs, log, QString()};
    bool save() override { return logger.save(); }
};

std::unique_ptr<PreparedSave> prepareLambda(const QString& folder, const QString&, int variant)
{
    auto s = std::make_unique<LambdaSave>();
    s->dialogs.fileAnswer = folder + QStringLiteral("/lambda.kll");
    s->logger.setClock([] { return savedAt; });
    for (int i = 1; i <= lambda::kSpeedCells; ++i)
        for (int j = 1; j <= lambda::kThrottleCells; ++j)
            for (int k = 1; k <= lambda::kProbes; ++k)
                s->logger.table().set(i, j, k, (i * 37 + j * 11 + k + variant * 5) % 1000);
    return s;
}

}  // namespace

const std::vector<Kind>& kinds()
{
    static const std::vector<Kind> all = {
        {QStringLiteral("cfg"), QStringLiteral("Motrix.cfg"), prepareSettings,
         QStringLiteral("Info"),
         QStringLiteral(" Einstellungsdatei konnte im Programmverzeichnis nicht geschrieben "
                        "werden."),
         QStringLiteral("Einstellungsdatei konnte nicht geschrieben werden")},
        {QStringLiteral("kvt"), QStringLiteral("motor.kvt"), prepareSetup,
         QStringLiteral("Speichern"), QStringLiteral("Setup konnte nicht gespeichert werden:\r%1"),
         QStringLiteral("Setup %1 nicht gespeichert")},
        {QStringLiteral("klg"), logger::logFileName(savedAt), prepareLog, QStringLiteral("Achtung"),
         QStringLiteral("\rLogdatei konnte nicht angelegt werden.\r\rLoggen/Sichern nicht "
                        "möglich."),
         QStringLiteral("Log-Datei konnte nicht angelegt werden")},
        {QStringLiteral("klv"), QStringLiteral("lauf.klv"), preparePower,
         QStringLiteral("Achtung!"),
         QStringLiteral("Die Leistungsvergleichsdatei\rkonnte nicht gespeichert werden."),
         QStringLiteral("Fehler beim Speichrn der LV-Datei")},
        {QStringLiteral("kll"), QStringLiteral("lambda.kll"), prepareLambda,
         QStringLiteral("Achtung!"),
         QStringLiteral("Die Lambdalogdatei\rkonnte nicht gespeichert werden."),
         QStringLiteral("Fehler beim Speichrn der KLL-Datei")},
    };
    return all;
}

}  // namespace savecrash
