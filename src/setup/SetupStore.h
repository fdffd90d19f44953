// Saving and loading setup files from the main window: the file dialogs, the questions, the
// log lines and the folder and name remembered between them.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "setup/SetupFileCodec.h"
#include "setup/SetupRecord.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

namespace setup {

// What the main window shows about setups: the description field and the identity of the
// KVT a loaded setup came from ("geladnes Setup").
struct SetupDocument {
    SetupRecord record;
    QString description;
    SetupOrigin loadedOrigin;
    QString loadedFileName;
};

// A .kvt read to be compared with, not loaded: nothing is asked or logged. The record takes
// base's injector dead times, which files do not carry.
struct FileToCompare {
    bool readable = false;                   // the file could be opened and read
    std::optional<SetupFileContent> content;  // only for a well-formed setup file
};
FileToCompare readFileToCompare(const QString& path, const SetupRecord& base = {});

class SetupStore final {
public:
    enum class Outcome { Cancelled, Refused, Failed, Done };

    using Clock = std::function<QDateTime()>;
    using RandomNumber = std::function<int()>;  // 0..1000
    // Called after a load replaced the record, before the warnings: the owner ends map
    // editing and refills every window that shows setup values.
    using ReplacedHook = std::function<void()>;

    SetupStore(app::Dialogs& dialogs, app::MessageLog& log, QString startDirectory);

    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setRandomNumber(RandomNumber random) { m_random = std::move(random); }
    void setReplacedHook(ReplacedHook hook) { m_replaced = std::move(hook); }

    // "Speichern": the record, the description and the identity of the connected KVT.
    Outcome save(const SetupDocument& document, const SetupOrigin& connected);
    // "Laden": replaces record, description and loaded origin; the dead times stay. A file
    // that cannot be read changes nothing.
    Outcome load(SetupDocument& document);

    const QString& directory() const { return m_directory; }
    const QString& fileName() const { return m_fileName; }

private:
    QString startPath() const;
    void remember(const QString& path);

    app::Dialogs& m_dialogs;
    app::MessageLog& m_log;
    QString m_directory;
    QString m_fileName;
    Clock m_clock;
    RandomNumber m_random;
    ReplacedHook m_replaced;
};

}  // namespace setup
