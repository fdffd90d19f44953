// Scripted Dialogs for tests: answers are queued beforehand, every call is recorded with its
// exact title and text.
#pragma once

#include "app/core/Dialogs.h"

#include <QPdfWriter>
#include <QString>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace testsupport {

class FakeDialogs final : public app::Dialogs {
public:
    enum class Kind { Message, Question, Input, OpenFile, SaveFile, Folder, Print };
    struct Call {
        Kind kind;
        QString title;
        QString text;  // message or prompt; for file dialogs the start path
        QString filter;
        bool hidden = false;
    };

    // Answers are taken in order. A question without a queued answer fails the test (and is
    // answered Nein so that the code under test goes on); an input or file dialog without one
    // is cancelled.
    void answerQuestion(bool yes) { m_questions.push_back(yes); }
    void answerInput(std::optional<QString> text) { m_inputs.push_back(std::move(text)); }
    void answerFile(QString path) { m_files.push_back(std::move(path)); }
    // The print dialog prints into this PDF file; an empty path (or none queued) cancels.
    void answerPrint(QString pdfPath) { m_prints.push_back(std::move(pdfPath)); }

    void message(const QString& title, const QString& text) override
    {
        calls.push_back({Kind::Message, title, text, {}, false});
    }
    bool question(const QString& title, const QString& text) override
    {
        calls.push_back({Kind::Question, title, text, {}, false});
        if (m_questions.empty()) {
            ADD_FAILURE() << "unscripted question " << title.toStdString() << ": "
                          << text.toStdString();
            return false;
        }
        const bool answer = m_questions.front();
        m_questions.pop_front();
        return answer;
    }
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial, bool hidden) override
    {
        Q_UNUSED(initial);
        calls.push_back({Kind::Input, title, prompt, {}, hidden});
        if (m_inputs.empty())
            return std::nullopt;
        auto answer = m_inputs.front();
        m_inputs.pop_front();
        return answer;
    }
    QString openFile(const QString& title, const QString& startPath, const QString& filter) override
    {
        return file(Kind::OpenFile, title, startPath, filter);
    }
    QString saveFile(const QString& title, const QString& startPath, const QString& filter) override
    {
        return file(Kind::SaveFile, title, startPath, filter);
    }
    QString folder(const QString& title, const QString& startPath) override
    {
        return file(Kind::Folder, title, startPath, {});
    }

    bool print(const QString& jobName, const std::function<void(QPagedPaintDevice&)>& draw) override
    {
        calls.push_back({Kind::Print, jobName, {}, {}, false});
        if (m_prints.empty())
            return false;
        const QString path = m_prints.front();
        m_prints.pop_front();
        if (path.isEmpty())
            return false;
        QPdfWriter writer(path);
        writer.setTitle(jobName);
        draw(writer);
        return true;
    }

    // Titles and texts of the message boxes and questions, in order.
    QStringList boxTexts() const
    {
        QStringList out;
        for (const Call& c : calls)
            if (c.kind == Kind::Message || c.kind == Kind::Question)
                out << c.text;
        return out;
    }
    void clear() { calls.clear(); }

    std::vector<Call> calls;

private:
    QString file(Kind kind, const QString& title, const QString& start, const QString& filter)
    {
        calls.push_back({kind, title, start, filter, false});
        if (m_files.empty())
            return {};
        QString answer = m_files.front();
        m_files.pop_front();
        return answer;
    }

    std::deque<bool> m_questions;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<QString> m_files;
    std::deque<QString> m_prints;
};

}  // namespace testsupport
