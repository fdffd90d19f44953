// What the lambda logger needs of the device link: whether a KVT is identified and which one
// (its HW and SW go into saved files), and the "B" read and "C" clear of the KVT's table.
// The program implements it over the device link; tests use a fake.
#pragma once

#include "link/LinkTypes.h"

#include <QByteArray>
#include <optional>

namespace lambda {

class LambdaLink {
public:
    virtual ~LambdaLink() = default;

    virtual bool identified() const = 0;
    virtual const devlink::DeviceIdentity& identity() const = 0;
    // "B" from the EEPROM (true) or RAM: the 919 bytes after the reply letter (flag byte
    // first), or nothing when the reply failed.
    virtual std::optional<QByteArray> readLambdaTable(bool fromEeprom) = 0;
    // "C" for the EEPROM (true) or RAM; the KVT does not answer.
    virtual void clearLambdaTable(bool eeprom) = 0;
};

// A link that is never identified: the table is only edited, saved and loaded.
class NoLambdaLink final : public LambdaLink {
public:
    bool identified() const override { return false; }
    const devlink::DeviceIdentity& identity() const override { return m_none; }
    std::optional<QByteArray> readLambdaTable(bool) override { return std::nullopt; }
    void clearLambdaTable(bool) override {}

private:
    devlink::DeviceIdentity m_none;
};

}  // namespace lambda
