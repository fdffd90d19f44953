// A LinkView and a feed subscriber for tests that record everything the link shows and
// publishes, and a message log that keeps every shown message.
#pragma once

#include "app/MessageLog.h"
#include "link/LinkFeed.h"
#include "link/LinkView.h"

#include <QStringList>
#include <ostream>
#include <utility>
#include <vector>

// Readable QString output in failed expectations.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace linktest {

struct RecordingView : devlink::LinkView {
    bool com = false;
    QString port = QStringLiteral("/dev/tty.kvt");
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

// Subscribes to a link's feed, keeps everything published and answers the "wanted" queries
// from its flags.
struct FeedRecorder {
    bool learnedMapWanted = false;
    bool voltagesWanted = false;
    bool expertWanted = false;
    std::vector<devlink::LiveRecord> records;
    std::vector<devlink::LearnedMap> maps;
    std::vector<devlink::SensorVoltages> volts;
    std::vector<QByteArray> expertValues;

    void subscribe(devlink::LinkFeed& feed)
    {
        using devlink::OnDemand;
        feed.onLiveRecord([this](const devlink::LiveRecord& r) { records.push_back(r); });
        feed.onLearnedMap([this](const devlink::LearnedMap& m) { maps.push_back(m); });
        feed.onSensorVoltages([this](const devlink::SensorVoltages& v) { volts.push_back(v); });
        feed.onExpertValues([this](const QByteArray& b) { expertValues.push_back(b); });
        feed.want(OnDemand::LearnedMap, [this] { return learnedMapWanted; });
        feed.want(OnDemand::SensorVoltages, [this] { return voltagesWanted; });
        feed.want(OnDemand::ExpertValues, [this] { return expertWanted; });
    }
};

// The message log with every shown message kept in order.
struct LogCapture {
    app::MessageLog log;
    QStringList lines;
    LogCapture()
    {
        log.setStatusSink([this](const QString& text) { lines << text; });
    }
    // Messages shown since the mark.
    QStringList since(qsizetype mark) const { return lines.mid(mark); }
};

}  // namespace linktest
