// "kvt read" and "kvt write": the setup between a file and the KVT through the program's own
// setup transfer and setup store.
#include "HistoryCommands.h"
#include "KvtVerbs.h"
#include "SetupText.h"

#include "link/SetupTransfer.h"
#include "setup/SetupBlock.h"
#include "setup/SetupStore.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {
namespace {

history::KvtIdentity historyIdentity(const devlink::DeviceIdentity& id)
{
    return {id.deviceType, id.hw, id.sw, id.bl, id.restartCount};
}

// One byte takes 11 bit times at 57600 baud.
int lineTimeMs(int bytes)
{
    return (bytes * 11 * 1000 + 57599) / 57600;
}

// The KVT's setup into record; false, with the reason on stderr, when it gave none.
bool readFromKvt(KvtSession& session, setup::SetupRecord& record)
{
    devlink::SetupTransfer transfer(session.link(), session.log(), session.dialogs(), record);
    const devlink::SetupTransfer::ReadOutcome outcome = transfer.readSetup();
    if (outcome == devlink::SetupTransfer::ReadOutcome::Replaced)
        return true;
    session.reportFailedReply();
    return false;
}

}  // namespace

int kvtRead(KvtSession& session, const KvtOptions& options, QTextStream&, QTextStream& err)
{
    if (const int opened = session.open(); opened != 0)
        return opened;
    setup::SetupDocument document;
    if (!readFromKvt(session, document.record))
        return 1;
    // Saved as "Speichern" saves it: the name gets ".kvt", an existing file is overwritten only
    // when the question is answered Ja (--force), the identity is the connected KVT's.
    ScriptDialogs& dialogs = session.dialogs();
    dialogs.setPath(options.output);
    dialogs.setAnswer(options.force);
    setup::SetupStore store(dialogs, session.log(), QFileInfo(options.output).absolutePath());
    const setup::SetupStore::Outcome saved =
        store.save(document, devlink::setupOriginOf(session.link().identity()));
    switch (saved) {
    case setup::SetupStore::Outcome::Done:
        // Kept in the setup history as the program keeps what it reads.
        recordInHistory(history::Event::CliRead, historyIdentity(session.link().identity()),
                        store.fileName(), document.description,
                        setup::encodeSetupBlock(document.record), QString(), err);
        return 0;
    case setup::SetupStore::Outcome::Refused:
        err << "motrix-cli: " << options.output
            << ": Datei existiert bereits (--force überschreibt sie)\n";
        return 2;
    case setup::SetupStore::Outcome::Cancelled:
    case setup::SetupStore::Outcome::Failed: return 2;
    }
    return 2;
}

int kvtWrite(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream& err)
{
    const QString path = options.files.value(0);
    // The program's file dialog offers only ".kvt"; a script gets the same limit.
    if (QFileInfo(path).suffix() != QLatin1String("kvt")) {
        err << "motrix-cli: " << path << ": keine Setup-Datei (.kvt erwartet)\n";
        return 2;
    }
    const std::optional<LoadedSetupFile> file = loadSetupFile(path, err);
    if (!file)
        return 2;
    if (const int opened = session.open(); opened != 0)
        return opened;

    // The file carries no injector dead times, but "S" sends them: the KVT keeps its own.
    setup::SetupRecord onKvt;
    session.dialogs().setMessagesMuted(true);
    const bool haveKvtSetup = readFromKvt(session, onKvt);
    session.dialogs().setMessagesMuted(false);
    if (!haveKvtSetup)
        return 1;
    setup::SetupRecord record = file->content.record;
    record.injectorDeadTime = onKvt.injectorDeadTime;

    devlink::DeviceLink& link = session.link();
    devlink::SetupTransfer transfer(link, session.log(), session.dialogs(), record);
    if (!transfer.writeSetup())
        return 1;
    // "S" is not answered: the read-back may only be asked once the block is on the line.
    link.line().pause(lineTimeMs(1 + setup::setupBlockSize) + 20);

    setup::SetupRecord back;
    session.dialogs().setMessagesMuted(true);
    const bool readBack = readFromKvt(session, back);
    session.dialogs().setMessagesMuted(false);
    if (!readBack)
        return 1;
    const QList<FieldDifference> differences = fieldDifferences(record, back, true);
    const bool equal =
        differences.isEmpty() && setup::encodeSetupBlock(record) == setup::encodeSetupBlock(back);
    recordInHistory(history::Event::CliWrite, historyIdentity(link.identity()), path,
                    file->content.description, setup::encodeSetupBlock(record), QString(), err);
    bool stored = false;
    if (equal && options.eeprom) {
        stored = transfer.storeSetup();
        if (stored)
            session.log().logMessage(QStringLiteral("Setup im EEPROM der KVT gespeichert"));
    }

    if (options.json) {
        QJsonArray list;
        for (const FieldDifference& d : differences)
            list.append(d.json(QStringLiteral("sent"), QStringLiteral("readBack")));
        const QJsonObject o{{QStringLiteral("file"), path},
                            {QStringLiteral("port"), session.portPath()},
                            {QStringLiteral("equal"), equal},
                            {QStringLiteral("differences"), list},
                            {QStringLiteral("eeprom"), stored}};
        out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
    } else if (equal) {
        out << "Setup " << path << " geschrieben und zurückgelesen: gleich"
            << (stored ? ", im EEPROM gespeichert\n" : "\n");
    } else {
        for (const FieldDifference& d : differences)
            out << d.line() << "\n";
        out << "Zurückgelesenes Setup weicht ab: " << differences.size() << " Unterschied(e)"
            << (options.eeprom ? ", nicht im EEPROM gespeichert\n" : "\n");
    }
    return equal && (stored || !options.eeprom) ? 0 : 1;
}

}  // namespace cli
