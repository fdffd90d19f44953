// Dialogs for an unattended run of the program: every box is counted and answered as a careful
// user would who is not at the machine: messages are acknowledged, questions answered Nein,
// input, file and print dialogs cancelled. Nothing waits, so no tick is held up.
#pragma once

#include "app/Dialogs.h"

#include <QStringList>

namespace soak {

class QuietDialogs final : public app::Dialogs {
public:
    void message(const QString& title, const QString& text) override
    {
        ++messages;
        remember(title, text);
    }
    bool question(const QString& title, const QString& text) override
    {
        ++questions;
        remember(title, text);
        return false;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&, bool) override
    {
        return std::nullopt;
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
    // The first few distinct boxes, for the report.
    QStringList seen;

private:
    void remember(const QString& title, const QString& text)
    {
        QString line = title + QStringLiteral(": ") + text;
        line.replace(QLatin1Char('\r'), QLatin1Char(' '));
        if (seen.size() < 10 && !seen.contains(line))
            seen << line;
    }
};

}  // namespace soak
