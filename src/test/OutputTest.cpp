// Step lists of the output tests and their timed runner.
#include "test/OutputTest.h"

#include <algorithm>

namespace kvttest {

namespace {

TestStep sw(int output, int value)
{
    return {TestStep::Switch, output, value, {}};
}
TestStep cap(const QString& text)
{
    return {TestStep::Caption, 0, 0, text};
}
TestStep count(int n)
{
    return cap(QStringLiteral("(%1)").arg(n));
}
TestStep wait(int ms)
{
    return {TestStep::Wait, 0, ms, {}};
}

}  // namespace

quint16 coilValue(double chargeMs)
{
    return quint16(std::clamp(int(chargeMs / 524 * 65536), 0, 65535));
}

quint16 injectorValue(double openMs)
{
    return quint16(std::clamp(int(openMs / 131 * 65536), 0, 65535));
}

TestSteps fuelPumpSteps()
{
    TestSteps s{sw(1, 1)};
    for (int n = 3; n >= 1; --n) {
        s.push_back(count(n));
        s.push_back(wait(1000));
    }
    s.push_back(sw(1, 0));
    return s;
}

TestSteps switchOutputSteps(int output, int repeats)
{
    TestSteps s{sw(1 + output, repeats)};
    for (int n = repeats; n >= 1; --n) {
        s.push_back(count(n));
        s.push_back(wait(1000));
    }
    return s;
}

TestSteps injectorSteps(int injector, int repeats)
{
    TestSteps s;
    for (int n = repeats; n >= 1; --n) {
        s.push_back(count(n));
        for (int p = 0; p < 15; ++p) {
            s.push_back(sw(6 + injector, injectorValue(125)));
            s.push_back(wait(50));
        }
    }
    return s;
}

TestSteps coilSteps(int coil, int repeats, int coilChargeTime)
{
    const double ms = coilChargeTime * 250 / 1000.0;
    TestSteps s;
    for (int n = repeats; n >= 1; --n) {
        s.push_back(count(n));
        s.push_back(sw(3 + coil, coilValue(ms)));
        s.push_back(wait(100));
    }
    return s;
}

TestSteps tachoSteps(int speed)
{
    TestSteps s{sw(10, std::clamp(speed, 0, 65535))};
    for (int i = 1; i <= 10; ++i) {
        s.push_back(count(11 - i));
        s.push_back(wait(1000));
    }
    return s;
}

TestSteps flowTestSteps(int injector, bool longTest)
{
    const quint16 pulse = injectorValue(longTest ? 15 : 6);
    TestSteps s{cap(QStringLiteral("Start")), sw(1, 1), wait(1000)};
    for (int i = 500; i >= 1; --i) {
        s.push_back({TestStep::Checkpoint, 0, 0, {}});
        s.push_back(cap(QString::number(i)));
        s.push_back(sw(1, 1));
        s.push_back(sw(6 + injector, pulse));
        s.push_back(wait(10));
    }
    s.push_back({TestStep::Tail, 0, 0, {}});
    s.push_back(sw(1, 0));
    return s;
}

OutputTestRunner::OutputTestRunner(Sender sender, std::function<bool()> portOpen, QObject* parent)
    : QObject(parent), m_sender(std::move(sender)), m_portOpen(std::move(portOpen))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &OutputTestRunner::next);
}

bool OutputTestRunner::start(TestSteps steps)
{
    if (m_running)
        return false;
    m_steps = std::move(steps);
    m_index = 0;
    m_running = true;
    m_abortRequested = false;
    m_aborted = false;
    m_portWasOpen = m_portOpen();
    m_timer.start(0);
    return true;
}

void OutputTestRunner::next()
{
    while (m_index < m_steps.size()) {
        if (m_portWasOpen && !m_portOpen()) {
            finish(m_aborted, true);
            return;
        }
        const TestStep& step = m_steps[m_index++];
        switch (step.kind) {
        case TestStep::Switch: m_sender(step.output, quint16(step.value)); break;
        case TestStep::Caption:
            emit caption(step.text);
            // Let the caption paint before the next step.
            m_timer.start(0);
            return;
        case TestStep::Wait: m_timer.start(step.value); return;
        case TestStep::Checkpoint:
            if (m_abortRequested) {
                m_aborted = true;
                const auto tail =
                    std::find_if(m_steps.begin() + long(m_index), m_steps.end(),
                                 [](const TestStep& t) { return t.kind == TestStep::Tail; });
                m_index = size_t(tail - m_steps.begin());
            }
            break;
        case TestStep::Tail: break;
        }
    }
    finish(m_aborted, false);
}

void OutputTestRunner::finish(bool aborted, bool portLost)
{
    m_running = false;
    m_timer.stop();
    emit finished(aborted, portLost);
}

}  // namespace kvttest
