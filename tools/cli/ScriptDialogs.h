// The program's dialogs when nobody sits in front of them: messages go to stderr, each
// question gets the answer the command line chose (and says so), file dialogs return the path
// given on the command line. Lets motrix-cli run the program's own save and transfer code.
#pragma once

#include "app/core/Dialogs.h"

#include <QTextStream>

namespace cli {

class ScriptDialogs final : public app::Dialogs {
public:
    explicit ScriptDialogs(QTextStream& err) : m_err(err) {}

    // What every question is answered (default Nein).
    void setAnswer(bool yes) { m_answer = yes; }
    // The path the file dialogs "choose".
    void setPath(const QString& path) { m_path = path; }
    // Messages are not printed (the warnings of a read that only checks); questions are.
    void setMessagesMuted(bool muted) { m_muted = muted; }
    // Questions asked so far.
    int questions() const { return m_questions; }

    void message(const QString& title, const QString& text) override;
    bool question(const QString& title, const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial, bool hidden) override;
    QString openFile(const QString& title, const QString& startPath,
                     const QString& filter) override;
    QString saveFile(const QString& title, const QString& startPath,
                     const QString& filter) override;
    QString folder(const QString& title, const QString& startPath) override;
    bool print(const QString& jobName,
               const std::function<void(QPagedPaintDevice&)>& draw) override;

private:
    void show(const QString& title, const QString& text);

    QTextStream& m_err;
    QString m_path;
    bool m_answer = false;
    bool m_muted = false;
    int m_questions = 0;
};

}  // namespace cli
