// The lambda logger's link over the program's device link. Header only, beside the wiring
// that creates both.
#pragma once

#include "lambda/LambdaLink.h"
#include "link/DeviceLink.h"

namespace app {

class DeviceLambdaLink final : public lambda::LambdaLink {
public:
    explicit DeviceLambdaLink(devlink::DeviceLink& link) : m_link(link) {}

    bool identified() const override { return m_link.identified(); }
    const devlink::DeviceIdentity& identity() const override { return m_link.identity(); }
    std::optional<QByteArray> readLambdaTable(bool fromEeprom) override
    {
        return m_link.commands().readLambdaTable(fromEeprom);
    }
    void clearLambdaTable(bool eeprom) override { m_link.commands().clearLambdaTable(eeprom); }

private:
    devlink::DeviceLink& m_link;
};

}  // namespace app
