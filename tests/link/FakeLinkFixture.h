// A DeviceLink on a fake port and fake clock, with a recording view, feed and message log.
#pragma once

#include "LinkTestAccess.h"
#include "LinkTestView.h"
#include "link/DeviceLink.h"
#include "support/FakeSerialPort.h"

#include <gtest/gtest.h>

namespace linktest {

// The 24-byte identification reply of a KVT.
inline QByteArray identityReply(char letter = 'i', int restarts = 0x0102)
{
    QByteArray r;
    r.append(letter);
    r.append("KVT 3Zyl-Sim");
    r.append("2.1");
    r.append("4.7");
    r.append("1.3");
    r.append(char(restarts >> 8));
    r.append(char(restarts & 0xFF));
    return r;
}

class FakeLinkTest : public ::testing::Test {
protected:
    FakeLinkTest()
    {
        line->clock = &clock;
        link.setView(&view);
        link.setSetupReadWanted([this] { return setupReadWanted; });
        feed.subscribe(link.feed());
    }

    // Answers every written command letter through answer(letter) after delayMs.
    void answerWith(std::function<QByteArray(char)> answer, qint64 delayMs = 1)
    {
        line->onWrite = [answer, delayMs](testsupport::FakeLine& l, const QByteArray& bytes) {
            for (char c : bytes) {
                const QByteArray reply = answer(c);
                if (!reply.isEmpty())
                    l.schedule(delayMs, reply);
            }
        };
    }

    // Ticks "COM" and runs connectStep until identified by a KVT answering "I".
    void connectIdentified()
    {
        answerWith([](char c) { return c == 'I' ? identityReply() : QByteArray(); });
        view.com = true;
        link.connectStep();
        ASSERT_TRUE(link.identified());
    }

    testsupport::FakeClock clock;
    std::shared_ptr<testsupport::FakeLine> line = std::make_shared<testsupport::FakeLine>();
    LogCapture messages;
    // "Setup automatisch von KVT einlesen".
    bool setupReadWanted = false;
    RecordingView view;
    FeedRecorder feed;
    devlink::DeviceLink link{messages.log, testsupport::FakeSerialPort::factory(line), clock};
};

}  // namespace linktest
