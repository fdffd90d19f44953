// The dialogs of a torture run: messages are counted, questions answered "Nein", file and print
// dialogs cancelled, and input boxes (the map editor's typed value, the expert password) answer
// with the hostile text queued for them.
#pragma once

#include "app/Dialogs.h"

#include <QString>
#include <deque>
#include <optional>

namespace torture {

class TortureDialogs final : public app::Dialogs {
public:
    void answerInput(const QString& text) { m_inputs.push_back(text); }

    void message(const QString&, const QString&) override { ++messages; }
    bool question(const QString&, const QString&) override
    {
        ++questions;
        return false;
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
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    bool print(const QString&, const std::function<void(QPagedPaintDevice&)>&) override
    {
        return false;
    }

    int messages = 0;
    int questions = 0;
    int inputs = 0;

private:
    std::deque<QString> m_inputs;
};

}  // namespace torture
