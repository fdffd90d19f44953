// Dialogs answered from the command line.
#include "ScriptDialogs.h"

namespace cli {

void ScriptDialogs::show(const QString& title, const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_err << title << ": " << lines << "\n";
    m_err.flush();
}

void ScriptDialogs::message(const QString& title, const QString& text)
{
    if (!m_muted)
        show(title, text);
}

bool ScriptDialogs::question(const QString& title, const QString& text)
{
    ++m_questions;
    show(title, text + (m_answer ? QStringLiteral(" -> Ja") : QStringLiteral(" -> Nein")));
    return m_answer;
}

std::optional<QString> ScriptDialogs::input(const QString&, const QString&, const QString&, bool)
{
    return std::nullopt;
}

QString ScriptDialogs::openFile(const QString&, const QString&, const QString&)
{
    return m_path;
}

QString ScriptDialogs::saveFile(const QString&, const QString&, const QString&)
{
    return m_path;
}

QString ScriptDialogs::folder(const QString&, const QString&)
{
    return {};
}

bool ScriptDialogs::print(const QString&, const std::function<void(QPagedPaintDevice&)>&)
{
    return false;
}

}  // namespace cli
