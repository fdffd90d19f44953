// The link's own window side: the "COM" box it follows and where the identity of the connected
// KVT is shown. Everything the polling cycle reads goes out through LinkFeed instead. Every
// method has a do-nothing default so that tests override only what they check.
#pragma once

#include "link/LinkTypes.h"

#include <QString>

namespace devlink {

class LinkView {
public:
    virtual ~LinkView() = default;

    // Check box "COM" and the text of the selected port combo item.
    virtual bool comTicked() const { return false; }
    virtual QString selectedPortText() const { return {}; }
    // Untick "COM" after the port became unavailable.
    virtual void untickCom() {}
    // Where the identity of the connected KVT is shown (main window "Verbundene KVT: HW:"/"SW:").
    virtual void identityShown(const DeviceIdentity& identity) { Q_UNUSED(identity); }
    virtual void identityCleared() {}
    // Ticking "COM" failed in a way the user can mend (no permission, no port listed): the
    // advice is shown in a message box.
    virtual void showPortHelp(const QString& advice) { Q_UNUSED(advice); }
};

}  // namespace devlink
