// The dialogs of a benchmark: nobody answers, so every box passes, every question is answered
// with answer and every file dialog returns openPath (open) or nothing.
#pragma once

#include "app/Dialogs.h"

class QPagedPaintDevice;
#include <QString>
#include <functional>
#include <optional>

namespace bench {

struct BenchDialogs final : app::Dialogs {
    bool answer = false;
    QString openPath;

    void message(const QString&, const QString&) override {}
    bool question(const QString&, const QString&) override { return answer; }
    std::optional<QString> input(const QString&, const QString&, const QString&, bool) override
    {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return openPath; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    bool print(const QString&, const std::function<void(QPagedPaintDevice&)>&) override
    {
        return false;
    }
};

}  // namespace bench
