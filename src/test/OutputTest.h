// The output tests of the test window as timed step lists, and the runner that plays one
// without blocking the event loop: the countdown caption repaints between steps and Escape is
// seen, while running() tells the main loop to hold polling and logging so that no other
// command reaches the KVT during a test.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

namespace kvttest {

// The 16-bit "V" values of the timed outputs.
quint16 coilValue(double chargeMs);    // Int(t / 524 × 65536)
quint16 injectorValue(double openMs);  // Int(t / 131 × 65536)

struct TestStep {
    enum Kind {
        Switch,      // "V" output with value
        Caption,     // the clicked button shows text
        Wait,        // ms
        Checkpoint,  // a pending Escape ends the loop here and jumps to the tail
        Tail,        // where an aborted test goes on (pump off)
    };
    Kind kind;
    int output = 0;
    int value = 0;  // Switch: the value; Wait: ms
    QString text;

    bool operator==(const TestStep&) const = default;
};
using TestSteps = std::vector<TestStep>;

TestSteps fuelPumpSteps();
// output 1 or 2; repeats 1 or 10 ("1x"/"10x").
TestSteps switchOutputSteps(int output, int repeats);
TestSteps injectorSteps(int injector, int repeats);
// coilChargeTime in units of 250 µs.
TestSteps coilSteps(int coil, int repeats, int coilChargeTime);
// The speed as typed (the wire takes it limited to 16 bits).
TestSteps tachoSteps(int speed);
// Flow test of injector 1-3 with 15 ms (long) or 6 ms pulses.
TestSteps flowTestSteps(int injector, bool longTest);

// Plays one step list at a time with timers. The sender is called for every Switch step and
// decides itself whether the port is open; portOpen is asked before each step, and a port
// lost during a test that started with it open ends the test.
class OutputTestRunner final : public QObject {
    Q_OBJECT
public:
    using Sender = std::function<void(int output, quint16 value)>;
    OutputTestRunner(Sender sender, std::function<bool()> portOpen, QObject* parent = nullptr);

    // Refused (false) while another test runs.
    bool start(TestSteps steps);
    bool running() const { return m_running; }
    // Escape: honoured at the next checkpoint (flow tests only have them).
    void requestAbort() { m_abortRequested = true; }

signals:
    void caption(const QString& text);
    // aborted: Escape ended the pulse loop; portLost: the port closed during the test.
    void finished(bool aborted, bool portLost);

private:
    void next();
    void finish(bool aborted, bool portLost);

    Sender m_sender;
    std::function<bool()> m_portOpen;
    TestSteps m_steps;
    size_t m_index = 0;
    bool m_running = false;
    bool m_abortRequested = false;
    bool m_aborted = false;
    bool m_portWasOpen = false;
    QTimer m_timer;
};

}  // namespace kvttest
