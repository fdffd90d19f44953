// The recording link view, a feed subscriber for tests that record everything the link
// publishes, and a message log that keeps every shown message.
#pragma once

#include "app/core/MessageLog.h"
#include "link/LinkFeed.h"
#include "link/LinkView.h"
#include "support/RecordingView.h"

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

using RecordingView = testsupport::RecordingView;

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
