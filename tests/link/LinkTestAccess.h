// Reaches the state setters the link keeps to itself, for tests that start from a given state.
#pragma once

#include "link/DeviceLink.h"

namespace devlink {
struct LinkTestAccess {
    static void setIdentified(DeviceLink& link, bool on)
    {
        link.m_identification.m_identified = on;
    }
    static void setReplyStatus(DeviceLink& link, ReplyStatus s) { link.line().setReplyStatus(s); }
    static const QByteArray& transferBuffer(DeviceLink& link) { return link.transferBuffer(); }
};
}  // namespace devlink
