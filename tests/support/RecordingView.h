// A LinkView for tests: "COM" and the selected port are plain fields, and everything the link
// shows (untick, identities, port help) is recorded.
#pragma once

#include "link/LinkView.h"

#include <QStringList>
#include <utility>
#include <vector>

namespace testsupport {

struct RecordingView : devlink::LinkView {
    explicit RecordingView(QString portPath = QStringLiteral("/dev/tty.kvt"), bool comOn = false)
        : com(comOn), port(std::move(portPath))
    {
    }

    bool com = false;
    QString port;
    int unticks = 0;
    std::vector<devlink::DeviceIdentity> identities;
    int identityClears = 0;
    QStringList portHelp;

    bool comTicked() const override { return com; }
    QString selectedPortText() const override { return port; }
    void untickCom() override
    {
        com = false;
        ++unticks;
    }
    void identityShown(const devlink::DeviceIdentity& id) override { identities.push_back(id); }
    void identityCleared() override { ++identityClears; }
    void showPortHelp(const QString& advice) override { portHelp << advice; }
};

}  // namespace testsupport
