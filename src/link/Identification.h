// Identification: which KVT is on the line. identify() asks with "I", takes the 24-byte reply
// into the DeviceIdentity, shows it and logs it; evaluateReplyStatus() turns the status the
// last open or reply wait left into the link state and its messages ("Protokollfehler",
// "COM Fehler - timeout", "COM Fehler - Port nicht verfügbar").
#pragma once

#include "link/LinkTypes.h"
#include "link/LinkView.h"

#include <functional>

namespace app {
class MessageLog;
}

namespace devlink {

class PortConnection;
class PortLine;

class Identification final {
public:
    Identification(PortConnection& connection, PortLine& line, app::MessageLog& log);

    // The view must outlive this or be reset to nullptr; nullptr means no windows.
    void setView(LinkView* view);
    // Asked at every identification: is "Setup automatisch von KVT einlesen" ticked?
    void setSetupReadWanted(std::function<bool()> wanted) { m_setupReadWanted = std::move(wanted); }
    // Called right after every identification while the setup read is wanted (the setup
    // transfer's readSetup).
    void setAfterIdentification(std::function<void()> hook)
    {
        m_afterIdentification = std::move(hook);
    }

    // "I" and its reply; sets the ReplyStatus and leaves it for evaluateReplyStatus().
    void identify();
    // Acts on the ReplyStatus and resets it to Ok.
    void evaluateReplyStatus();

    bool identified() const { return m_identified; }
    const DeviceIdentity& identity() const { return m_identity; }
    // The KVT is identified anew at the next tick; the identity stays shown until then.
    void forget() { m_identified = false; }
    // No KVT any more: unidentified and the identity cleared.
    void drop();

private:
    friend struct LinkTestAccess;

    PortConnection& m_connection;
    PortLine& m_line;
    app::MessageLog& m_log;
    LinkView m_noView;
    LinkView* m_view = &m_noView;
    std::function<bool()> m_setupReadWanted;
    std::function<void()> m_afterIdentification;
    bool m_identified = false;
    DeviceIdentity m_identity;
};

}  // namespace devlink
