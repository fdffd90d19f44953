// Dialogs for a run of the program with nobody at the machine (benchmarks, the link soak, the
// typed-input torture): messages are counted and acknowledged, questions counted and answered
// with `answer` (Nein unless set), input boxes answer with the texts queued for them (then
// cancel), the open dialog returns `openPath`, other file, folder and print dialogs cancel.
// Nothing waits, so no tick is held up.
#pragma once

#include "app/core/Dialogs.h"

#include <QStringList>
#include <deque>

namespace app {

class UnattendedDialogs final : public Dialogs {
public:
    bool answer = false;
    QString openPath;
    int messages = 0;
    int questions = 0;
    int inputs = 0;
    QStringList seen;  // the first ten distinct boxes as "title: text", for a report

    void answerInput(const QString& text) { m_inputs.push_back(text); }

    void message(const QString& title, const QString& text) override
    {
        ++messages;
        remember(title, text);
    }
    bool question(const QString& title, const QString& text) override
    {
        ++questions;
        remember(title, text);
        return answer;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&, bool) override
    {
        ++inputs;
        if (m_inputs.empty())
            return std::nullopt;
        QString text = m_inputs.front();
        m_inputs.pop_front();
        return text;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return openPath; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    bool print(const QString&, const std::function<void(QPagedPaintDevice&)>&) override
    {
        return false;
    }

private:
    void remember(const QString& title, const QString& text)
    {
        if (seen.size() >= 10)
            return;
        QString line = title + QStringLiteral(": ") + text;
        line.replace(QLatin1Char('\r'), QLatin1Char(' '));
        if (!seen.contains(line))
            seen << line;
    }

    std::deque<QString> m_inputs;
};

}  // namespace app
