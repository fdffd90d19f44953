// Every kind of file the program saves, saved through the program's own save procedure with its
// dialogs answered by a script: "Motrix.cfg", a setup (.kvt), "Log sichern" (.klg), a power
// comparison (.klv) and a lambda log (.kll). Two contents per kind (0 = old, 1 = new) are made
// deterministic by fixed clocks, so the bytes of either are known beforehand.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace savecrash {

// Answers every file dialog with one path or folder and every question with yes; records the
// message boxes as "title|text".
class ScriptedDialogs final : public app::Dialogs {
public:
    QString fileAnswer;    // the save dialog's answer
    QString folderAnswer;  // the folder dialog's answer
    QStringList messages;

    void message(const QString& title, const QString& text) override;
    bool question(const QString& title, const QString& text) override;
    std::optional<QString> input(const QString&, const QString&, const QString&, bool) override;
    QString openFile(const QString&, const QString&, const QString&) override;
    QString saveFile(const QString&, const QString&, const QString&) override;
    QString folder(const QString&, const QString&) override;
    bool print(const QString&, const std::function<void(QPagedPaintDevice&)>&) override;
};

// One prepared save: everything up to the save itself is done by prepare(), so that a kill
// timed from the start of save() lands in the save.
class PreparedSave {
public:
    virtual ~PreparedSave() = default;
    // Runs the program's save; true when it reported success.
    virtual bool save() = 0;
    ScriptedDialogs dialogs;
    app::MessageLog log;
};

struct Kind {
    QString name;      // "cfg", "kvt", "klg", "klv", "kll"
    QString fileName;  // the saved file's name in the target folder
    // Sets up a save of content variant (0 or 1) into folder. work is a folder of the kind's
    // own for anything the preparation needs besides the target (made once per variant).
    std::unique_ptr<PreparedSave> (*prepare)(const QString& folder, const QString& work,
                                             int variant);
    // The box title and text and the log line the user gets when the save fails.
    QString failureTitle;
    QString failureText;  // "%1" stands for the target path
    QString failureLog;   // "%1" likewise
};

const std::vector<Kind>& kinds();

}  // namespace savecrash
