// The expert window: shows the "P" values of every poll while it is open, the mean speed, the
// serial timing, and the crank-angle diagram; sets the oscillator fine-tune byte.
#pragma once

#include "forms/Window.h"
#include "forms/expertdialog.h"
#include "setup/ExpertDiagram.h"
#include "setup/ExpertValues.h"
#include "setup/SetupRecord.h"

#include <QObject>
#include <functional>

namespace setup {

class ExpertWindow final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> identified;
        std::function<void(quint8)> sendCalibrationByte;  // "X" 4
        std::function<void()> resetClockOffset;           // taken anew at the next "D"
        std::function<qint64()> nowMs;                    // the program clock
        std::function<qint64()> clockOffset;
    };
    ExpertWindow(forms::Window& window, const SetupRecord& record, Hooks hooks);

    forms::Expertdialog& form() { return m_form; }
    // expertWindowShown: the polling cycle reads "P" while true.
    bool shown() const { return m_window.isVisible(); }

    // Every polled record while shown: the serial timing and the speed of the next "P".
    void liveRecord(int rpmForMaps, quint32 timeStamp, int teethSeen, int toothPeriod,
                    int gapPeriod);
    // The 35 bytes after "p".
    void expertValues(const QByteArray& data);
    int calibrationByte() const { return m_calibration; }

private:
    void stepCalibration(int delta);
    void showTiming();

    forms::Window& m_window;
    const SetupRecord& m_record;
    Hooks m_hooks;
    forms::Expertdialog m_form;
    SerialTiming m_timing;
    SpeedMean m_speeds;
    DiagramInput m_diagram;
    int m_calibration = 0;
    int m_rpm = 0;
};

}  // namespace setup
