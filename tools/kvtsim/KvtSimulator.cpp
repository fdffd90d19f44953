// The simulated KVT's command handling.
#include "KvtSimulator.h"

#include "SimSetup.h"

#include <algorithm>
#include <cmath>

namespace kvtsim {

namespace {
bool hasReply(char letter)
{
    return QByteArrayLiteral("IDGAPLB").contains(letter);
}
}  // namespace

KvtSimulator::KvtSimulator() : m_setup(factorySetup()), m_eeprom(m_setup)
{
    setIdentity("KVT-Sim 1Zyl", "2.1", "4.7", "1.3");
    // The EEPROM log holds what an earlier ride recorded: a plausible spread around 750 mV.
    for (int s = 0; s < 17; ++s)
        for (int r = 0; r < 9; ++r)
            for (int k = 0; k < 3; ++k)
                m_lambdaEeprom[lambdaIndex(s, r, k)] =
                    (s >= 1 && s <= 10 && r >= 1 && r <= 7)
                        ? quint16(600 + (s * 37 + r * 53 + k * 29) % 300)
                        : 0;
}

void KvtSimulator::setIdentity(const QByteArray& deviceType12, const QByteArray& hw3,
                               const QByteArray& sw3, const QByteArray& bl3)
{
    auto fit = [](QByteArray s, int n) {
        s = s.left(n);
        while (s.size() < n)
            s.append('.');
        return s;
    };
    m_identity = fit(deviceType12, 12) + fit(hw3, 3) + fit(sw3, 3) + fit(bl3, 3);
}

quint16 KvtSimulator::testOutput(int number) const
{
    return number >= 1 && number <= 10 ? m_testOutputs[number] : 0;
}

QByteArray KvtSimulator::receive(const QByteArray& bytes, qint64 nowMs)
{
    QByteArray out;
    for (char c : bytes)
        out += m_boot.active() ? bootLoaderByte(quint8(c), nowMs) : handleByte(quint8(c), nowMs);
    return out;
}

int KvtSimulator::parameterCount(char letter, const QByteArray& soFar) const
{
    switch (letter) {
    case 'S': return setupBlockSize;
    case 'K': return 4;
    case 'Z': return 3;
    case 'V': return 3;
    case 'T':
    case 'M':
    case 'W': return 2;
    case 'B':
    case 'C': return 1;
    case 'X':
        // Sub-command 4 (oscillator) and 5 (ignition map) carry one more byte.
        if (soFar.isEmpty())
            return 1;
        return (soFar.at(0) == 4 || soFar.at(0) == 5) ? 2 : 1;
    default: return 0;
    }
}

QByteArray KvtSimulator::handleByte(quint8 byte, qint64 nowMs)
{
    if (m_pending) {
        m_params.append(char(byte));
        if (m_params.size() < parameterCount(m_pending, m_params))
            return {};
        const char letter = m_pending;
        m_pending = 0;
        const QByteArray params = m_params;
        m_params.clear();
        command(letter, params, nowMs);
        return letter == 'B' ? applyFault('B', lambdaReply(params.at(0) == 1)) : QByteArray{};
    }
    const char letter = char(byte);
    if (letter < 'A' || letter > 'Z') {
        ++m_noiseBytes;  // noise on the line
        return {};
    }
    m_commandLog.append(letter);
    if (parameterCount(letter, {}) > 0) {
        m_pending = letter;
        m_params.clear();
        return {};
    }
    if (hasReply(letter))
        return applyFault(letter, reply(letter, nowMs));
    command(letter, {}, nowMs);
    return {};
}

QByteArray KvtSimulator::reply(char letter, qint64 nowMs)
{
    QByteArray out;
    switch (letter) {
    case 'I':
        out.append('i');
        out.append(m_identity);
        out.append(char(m_restartCount >> 8));
        out.append(char(m_restartCount & 0xFF));
        break;
    case 'D': {
        LiveFrame frame = m_engine.step(nowMs, m_setup, m_lambdaRam);
        m_dyno.apply(frame, nowMs);
        if (frame.rpm > 0)
            spoilTrigger(frame, m_triggerSpoil);
        out = (m_frozen ? *m_frozen : frame).encode();
        break;
    }
    case 'G':
        out.append('g');
        out.append(m_setup.mid(offset::injectionMap, 153 * 2));
        break;
    case 'A':
        out.append('a');
        for (quint16 raw : m_engine.sensorRaw(m_setup)) {
            out.append(char(raw >> 8));
            out.append(char(raw & 0xFF));
        }
        break;
    case 'P':
        out.append('p');
        out.append(m_engine.expertValues(m_setup, m_calibrationByte));
        break;
    case 'L':
        out.append('l');
        out.append(m_setup);
        break;
    default: break;
    }
    return out;
}

QByteArray KvtSimulator::lambdaReply(bool fromEeprom) const
{
    const LambdaLog& table = fromEeprom ? m_lambdaEeprom : m_lambdaRam;
    QByteArray out;
    out.append('b');
    out.append(char(setupByte(m_setup, offset::lambdaLogging)));
    // Speed outer, throttle, probe inner; high byte first.
    for (quint16 mv : table) {
        out.append(char(mv >> 8));
        out.append(char(mv & 0xFF));
    }
    return out;
}

void KvtSimulator::command(char letter, const QByteArray& params, qint64 nowMs)
{
    auto p = [&](int i) { return int(quint8(params.at(i))); };
    switch (letter) {
    case 'S': m_setup = params; break;
    case 'E':
        m_eeprom = m_setup;
        m_eepromErased = false;
        break;
    case 'N': restart(nowMs); break;
    case 'K':
        if (p(0) >= 1 && p(0) <= 17 && p(1) >= 1 && p(1) <= 9)
            setSetupWord(m_setup, offset::injectionMap + 2 * ((p(1) - 1) * 17 + p(0) - 1),
                         p(2) | (p(3) << 8));
        break;
    case 'Z':
        if (p(0) >= 1 && p(0) <= 17 && p(1) >= 1 && p(1) <= 9)
            setSetupByte(m_setup, offset::ignitionMap + (p(1) - 1) * 17 + p(0) - 1, p(2));
        break;
    case 'T':
        if (p(0) >= 1 && p(0) <= 17)
            setSetupByte(m_setup, offset::airTempCorrection + p(0) - 1, p(1));
        break;
    case 'M':
        if (p(0) >= 1 && p(0) <= 17)
            setSetupByte(m_setup, offset::engineTempCorrection + p(0) - 1, p(1));
        break;
    case 'W':
        if (p(0) == 6)
            setSetupByte(m_setup, offset::sensorAngle, p(1));
        else if (p(0) == 7)
            m_engine.setIgnitionMode(p(1));
        else if (p(0) == 8)
            setSetupByte(m_setup, offset::learnActive, p(1));
        break;
    case 'X':
        if (p(0) == 3) {
            m_eeprom.fill(char(0xFF));
            m_eepromErased = true;
            restart(nowMs);  // the KVT restarts after erasing and comes up with what is left
        } else if (p(0) == 4) {
            m_calibrationByte = quint8(p(1));
        } else if (p(0) == 5) {
            setSetupByte(m_setup, offset::ignitionMapEnabled, p(1));
        }
        break;
    case 'V':
        if (p(0) >= 1 && p(0) <= 10) {
            m_testOutputs[p(0)] = quint16((p(1) << 8) | p(2));
            if (m_outputEvents.size() < 100000)  // nobody takes them: stop keeping
                m_outputEvents.push_back({nowMs, p(0), m_testOutputs[p(0)]});
        }
        break;
    case 'C': {
        LambdaLog& table = p(0) == 1 ? m_lambdaEeprom : m_lambdaRam;
        table.fill(0);
        break;
    }
    case 'U': m_boot.begin(); break;
    default: break;
    }
}

void KvtSimulator::restart(qint64 nowMs)
{
    // Lambda data logged in RAM is saved when the engine stops, as the KVT does.
    if (setupByte(m_setup, offset::lambdaLogging) != 0)
        m_lambdaEeprom = m_lambdaRam;
    m_lambdaRam.fill(0);
    m_setup = m_eeprom;
    ++m_restartCount;
    m_engine.restart(nowMs);
    m_engine.setIgnitionMode(255);
    m_pending = 0;
    m_params.clear();
}

QByteArray KvtSimulator::applyFault(char letter, QByteArray reply)
{
    if (m_fault.fault == Fault::None || reply.isEmpty())
        return reply;
    if (m_fault.onlyFor != 0 && m_fault.onlyFor != letter)
        return reply;
    switch (m_fault.fault) {
    case Fault::None: break;
    case Fault::Silence: reply.clear(); break;
    case Fault::WrongLetter: reply[0] = '?'; break;
    case Fault::ShortReply: reply.chop(1); break;
    case Fault::LongReply: reply.append('\0'); break;
    case Fault::CutReply: reply.truncate(qMax(0, m_fault.length)); break;
    }
    if (m_fault.count > 0 && --m_fault.count == 0)
        clearFault();
    return reply;
}

QByteArray KvtSimulator::bootLoaderByte(quint8 byte, qint64 nowMs)
{
    const QByteArray answer = m_boot.receive(byte);
    if (!m_boot.active()) {
        if (m_boot.outcome() == BootLoader::Outcome::Completed) {
            const QByteArray version = m_boot.versionInImage();
            m_identity.replace(15, 3, version.isEmpty() ? QByteArray("5.0") : version);
        }
        restart(nowMs);
    }
    return answer;
}

}  // namespace kvtsim
