#include "app/core/SettingsCodec.h"

#include "app/core/Utf16Line.h"

#include <QtEndian>
#include <cstring>

namespace app {

namespace {

class Writer {
public:
    void q(qint64 v)
    {
        char b[8];
        qToLittleEndian(v, b);
        m_bytes.append(b, 8);
    }
    void f(float v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_bytes.append(b, 4);
    }
    void flag(bool v) { q(v ? 1 : 0); }
    void line8(const QString& s)
    {
        m_bytes.append(s.toUtf8());
        m_bytes.append('\n');
    }
    void line16(const QString& s) { m_bytes.append(encodeUtf16le(s + QLatin1Char('\n'))); }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads fields in order; once the data runs out every further read fails and leaves its
// target untouched.
class Reader {
public:
    explicit Reader(const QByteArray& b) : m_bytes(b) {}
    bool q(qint64& v)
    {
        if (!take(8))
            return false;
        v = qFromLittleEndian<qint64>(m_bytes.constData() + m_pos - 8);
        return true;
    }
    bool f(float& v)
    {
        if (!take(4))
            return false;
        v = qFromLittleEndian<float>(m_bytes.constData() + m_pos - 4);
        return true;
    }
    bool flag(bool& v)
    {
        qint64 raw = 0;
        if (!q(raw))
            return false;
        v = raw != 0;
        return true;
    }
    bool line8(QString& s)
    {
        if (m_failed)
            return false;
        const qsizetype end = m_bytes.indexOf('\n', m_pos);
        if (end < 0)
            return fail();
        s = QString::fromUtf8(m_bytes.constData() + m_pos, end - m_pos);
        m_pos = end + 1;
        return true;
    }
    bool line16(QString& s)
    {
        if (m_failed)
            return false;
        const Utf16Line read = readUtf16Line(m_bytes, m_pos, false);
        if (!read.terminated)
            return fail();
        s = read.text;
        m_pos = read.next;
        return true;
    }
    bool failed() const { return m_failed; }

private:
    bool take(qsizetype n)
    {
        if (m_failed || m_bytes.size() - m_pos < n)
            return fail();
        m_pos += n;
        return true;
    }
    bool fail()
    {
        m_failed = true;
        return false;
    }
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

// One description of the field order serves writing and reading.
template <typename IO, typename S>
void visitFields(IO& io, S& s)
{
    for (auto& g : s.windows) {
        io.q(g.x);
        io.q(g.y);
        io.q(g.width);
        io.q(g.height);
    }
    io.q(s.rpmWarning);
    io.q(s.rpmRounding);
    io.f(s.lambdaVeryRich);
    io.f(s.lambdaRich);
    io.f(s.lambdaLean);
    io.f(s.lambdaVeryLean);
    io.flag(s.showLearnLimits);
    io.flag(s.sliderDisplays);
    io.q(s.loggerPeriod);
    io.q(s.comTimerPeriod);
    io.q(s.loggerCapacity);
    io.q(s.injectionViewCap);
    io.q(s.injectionWarnPercent);
    io.flag(s.messageFile);
    io.q(s.powerSampleInterval);
    io.q(s.powerMinSpeed);
    io.line16(s.printoutText);
    io.line8(s.portName);
    io.flag(s.comAtStart);
    io.flag(s.readSetupAfterIdentification);
    io.q(s.injectorFlow);
    io.q(s.injectorMaxSpeed);
    io.q(s.cylinderVolume);
    io.q(s.cylinderFilling);
    io.q(s.maxInjectorDuty);
    io.q(s.coilMaxSpeed);
    io.f(s.coilVoltage);
    io.f(s.coilResistance);
    io.f(s.coilInductance);
    io.flag(s.showLambda1);
    io.flag(s.showLambda2);
    io.flag(s.showLambda3);
    io.q(s.sensorErrorMinSpeed);
}

}  // namespace

QByteArray encodeSettings(const ProgramSettings& settings)
{
    Writer w;
    w.line8(settings.version);
    ProgramSettings copy = settings;
    visitFields(w, copy);
    return w.bytes();
}

SettingsDecodeResult decodeSettings(const QByteArray& bytes, ProgramSettings& settings)
{
    SettingsDecodeResult result;
    Reader r(bytes);
    QString version;
    r.line8(version);
    result.versionLine = version;
    if (r.failed() || version != versionText) {
        result.status = SettingsDecode::WrongVersion;
        return result;
    }
    visitFields(r, settings);
    settings.version = versionText;
    clampSettings(settings);
    result.status = r.failed() ? SettingsDecode::Truncated : SettingsDecode::Ok;
    return result;
}

}  // namespace app
