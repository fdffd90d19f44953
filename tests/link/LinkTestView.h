// A LinkView for tests that records everything the link shows, and a message log that keeps
// every shown message.
#pragma once

#include "app/MessageLog.h"
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
    devlink::LinkSetupValues setup;
    bool settingsShown = false;
    bool expertShown = false;
    bool learnMapShown = false;
    bool lambdaRecording = false;
    bool powerRunning = false;
    std::vector<devlink::LiveRecord> records;
    std::vector<devlink::LiveDerived> derived;
    std::vector<devlink::TriggerChecks> checks;
    std::vector<std::pair<bool, int>> modes;
    std::vector<std::pair<double, int>> powerSamples;
    std::vector<std::pair<devlink::LambdaCell, std::array<int, 3>>> lambdaSamples;
    std::vector<devlink::LearnedMap> maps;
    std::vector<devlink::EditorLivePoint> points;
    std::vector<devlink::SensorVoltages> volts;
    std::vector<QByteArray> expertValues;

    bool comTicked() const override { return com; }
    QString selectedPortText() const override { return port; }
    void untickCom() override
    {
        com = false;
        ++unticks;
    }
    void identityShown(const devlink::DeviceIdentity& id) override { identities.push_back(id); }
    void identityCleared() override { ++identityClears; }
    devlink::LinkSetupValues setupValues() const override { return setup; }
    bool settingsWindowShown() const override { return settingsShown; }
    bool expertWindowShown() const override { return expertShown; }
    bool learnMapUpdatesShown() const override { return learnMapShown; }
    bool lambdaLiveRecording() const override { return lambdaRecording; }
    bool powerMeasurementRunning() const override { return powerRunning; }
    void liveRecordUpdated(const devlink::LiveRecord& r, const devlink::LiveDerived& d) override
    {
        records.push_back(r);
        derived.push_back(d);
    }
    void triggerChecksUpdated(const devlink::TriggerChecks& c) override { checks.push_back(c); }
    void ignitionModeUpdated(bool fromCurve, int angle) override
    {
        modes.push_back({fromCurve, angle});
    }
    void powerSample(double t, int speed) override { powerSamples.push_back({t, speed}); }
    void lambdaSample(const devlink::LambdaCell& cell, const std::array<int, 3>& mv) override
    {
        lambdaSamples.push_back({cell, mv});
    }
    void learnedMapRead(const devlink::LearnedMap& map) override { maps.push_back(map); }
    void livePointForEditor(const devlink::EditorLivePoint& p) override { points.push_back(p); }
    void sensorVoltagesRead(const devlink::SensorVoltages& v) override { volts.push_back(v); }
    void expertValuesRead(const QByteArray& bytes) override { expertValues.push_back(bytes); }
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
