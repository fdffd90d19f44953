// The link's window side: what it asks of the windows and what it shows there. The main
// window, test, settings, learn, expert and lambda windows implement their parts; every
// method has a do-nothing default so that tests override only what they check.
#pragma once

#include "link/LinkTypes.h"
#include "link/LiveRecord.h"

#include <QByteArray>
#include <QString>

namespace devlink {

class LinkView {
public:
    virtual ~LinkView() = default;

    // --- asked by connectStep ---
    // Check box "COM" and the text of the selected port combo item.
    virtual bool comTicked() const { return false; }
    virtual QString selectedPortText() const { return {}; }
    // Untick "COM" after the port became unavailable.
    virtual void untickCom() {}
    // Main window "Verbundene KVT: HW:"/"SW:"; test window "Gerätetyp:", "Neustarts:",
    // "HW:", "SW:", "BL:".
    virtual void identityShown(const DeviceIdentity& identity) { Q_UNUSED(identity); }
    virtual void identityCleared() {}

    // --- asked by pollCycle ---
    virtual LinkSetupValues setupValues() const { return {}; }
    virtual bool settingsWindowShown() const { return false; }
    virtual bool expertWindowShown() const { return false; }
    // Learn window box "Kennfeldaktualisierung in Motrix zeigen".
    virtual bool learnMapUpdatesShown() const { return false; }
    // Lambda logger box "Vitaldaten lesen".
    virtual bool lambdaLiveRecording() const { return false; }
    virtual bool powerMeasurementRunning() const { return false; }

    // --- shown by pollCycle after a good "D" ---
    // Live labels of the main window (injection time red when derived.injectionWarning,
    // CPU temperature red when derived.cpuTemperatureHot, outputs and inputs through
    // switchText) and "ZZP v.OT aktuell [°KW]:" of the test window.
    virtual void liveRecordUpdated(const LiveRecord& record, const LiveDerived& derived)
    {
        Q_UNUSED(record);
        Q_UNUSED(derived);
    }
    // Test window "Sensorstabilität" texts and check mark.
    virtual void triggerChecksUpdated(const TriggerChecks& checks) { Q_UNUSED(checks); }
    // Test window options: "Kennlinie" when fromCurve, else "Konstant v.OT [°KW]:" with angle.
    virtual void ignitionModeUpdated(bool fromCurve, int constantAngle)
    {
        Q_UNUSED(fromCurve);
        Q_UNUSED(constantAngle);
    }
    // One power sample: time since the run's first sample (ms) and speed (0 at 300 or below).
    virtual void powerSample(double timeMs, int speed)
    {
        Q_UNUSED(timeMs);
        Q_UNUSED(speed);
    }
    // Lambda voltages (whole mV) for the cell of the current speed and throttle.
    virtual void lambdaSample(const LambdaCell& cell, const std::array<int, 3>& millivolts)
    {
        Q_UNUSED(cell);
        Q_UNUSED(millivolts);
    }
    // "G": write the cells into the SetupRecord's injectionMap and redraw its view.
    virtual void learnedMapRead(const LearnedMap& map) { Q_UNUSED(map); }
    // The edited view with "auto" ticked follows this point.
    virtual void livePointForEditor(const EditorLivePoint& point) { Q_UNUSED(point); }

    // --- shown by pollCycle whether or not "D" succeeded ---
    // Settings window "Messwert:" column.
    virtual void sensorVoltagesRead(const SensorVoltages& volts) { Q_UNUSED(volts); }
    // The 35 bytes after "p" for the expert window.
    virtual void expertValuesRead(const QByteArray& bytes) { Q_UNUSED(bytes); }
};

}  // namespace devlink
