// Moving the whole setup between the program and the KVT: "L" reads the 578-byte block into
// the SetupRecord, "S" sends it, "E" has the KVT keep its working copy in its EEPROM. These
// are the main window's buttons "-> PC", "-> KVT" and "-> EEPROM".
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "link/DeviceLink.h"
#include "setup/SetupFileCodec.h"
#include "setup/SetupRecord.h"

#include <functional>

namespace devlink {

// The identity of the connected KVT as a saved setup file records it.
inline setup::SetupOrigin setupOriginOf(const DeviceIdentity& identity)
{
    return setup::makeSetupOrigin(identity.deviceType, identity.hw, identity.sw, identity.bl,
                                  identity.restartCount);
}

class SetupTransfer final {
public:
    // "l" and the block.
    static constexpr int setupReplyLength = 579;

    enum class ReadOutcome {
        NotIdentified,  // nothing sent
        Failed,         // no usable reply; the status is left for the next connectStep
        Declined,       // odd length and "Trotzdem einlesen?" answered Nein
        Replaced,       // the SetupRecord holds the KVT's setup
    };

    // Called right after a read replaced the record, before "Daten von KVT gelesen" and the
    // warnings: the owner refills every window that shows setup values and redraws the views.
    using ReplacedHook = std::function<void()>;

    SetupTransfer(DeviceLink& link, app::MessageLog& log, app::Dialogs& dialogs,
                  setup::SetupRecord& record);

    void setReplacedHook(ReplacedHook hook) { m_replaced = std::move(hook); }

    // Only while the KVT is identified.
    ReadOutcome readSetup();
    // Only while the KVT is identified; sent blind, the KVT does not answer. False when not sent.
    bool writeSetup();
    // Only while the port is open (identification is not needed). False when not sent.
    bool storeSetup();

    // Has every identification read the setup while "Setup automatisch von KVT einlesen" is
    // ticked (the link checks the box itself).
    void readAfterIdentification();

private:
    DeviceLink& m_link;
    app::MessageLog& m_log;
    app::Dialogs& m_dialogs;
    setup::SetupRecord& m_record;
    ReplacedHook m_replaced;
};

}  // namespace devlink
