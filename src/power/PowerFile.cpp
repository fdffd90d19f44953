// Writing and reading comparison files.
#include "power/PowerFile.h"

#include "app/TextCut.h"
#include "app/Utf16Line.h"
#include "power/PowerParameters.h"

#include <QStringList>
#include <cmath>

namespace power {
namespace {

constexpr int descriptionLine = 8;
constexpr int firstSampleLine = 26;
constexpr int systemLine = 728;
constexpr int firstGridLine = 734;

QString fixed(float value, int decimals)
{
    return QString::number(std::isfinite(value) ? double(value) : 0.0, 'f', decimals);
}

// Field 2 of a comma-separated line (empty when there is none).
QString field(const QString& line, int index)
{
    return line.section(QLatin1Char(','), index, index);
}

float number(const QString& text)
{
    bool ok = false;
    const float v = text.trimmed().toFloat(&ok);
    return ok && std::isfinite(v) ? v : 0.0f;
}

// The file's lines, numbered from 1; line 8 is read as UTF-16LE up to its two-byte line feed.
class Lines {
public:
    explicit Lines(QByteArrayView bytes)
    {
        qsizetype pos = 0;
        auto takeUtf8Line = [&] {
            qsizetype end = bytes.indexOf('\n', pos);
            if (end < 0)
                end = bytes.size();
            m_lines << QString::fromUtf8(bytes.sliced(pos, end - pos));
            pos = std::min(end + 1, bytes.size());
        };
        while (m_lines.size() < descriptionLine - 1 && pos < bytes.size())
            takeUtf8Line();
        if (m_lines.size() == descriptionLine - 1 && pos < bytes.size()) {
            const app::Utf16Line line = app::readUtf16Line(bytes, pos, false);
            m_lines << line.text;
            pos = line.terminated ? line.next : bytes.size();
        }
        while (pos < bytes.size())
            takeUtf8Line();
    }
    QString operator[](int number) const { return m_lines.value(number - 1); }

private:
    QStringList m_lines;
};

}  // namespace

QString cleanDescription(const QString& text)
{
    QString out = app::cutWhole(text, 200);
    out.remove(QLatin1Char('\n'));
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char(','));
    return out.isEmpty() ? QStringLiteral("...") : out;
}

QString cleanVersionText(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char(','))
            c = QLatin1Char(' ');
    return out;
}

QByteArray encodePowerFile(const PowerFileContent& c)
{
    QByteArray out;
    out.reserve(40000);
    auto line = [&](const QString& text) {
        out.append(text.toUtf8());
        out.append('\n');
    };
    auto pair = [&](const char* label, const QString& value) {
        line(QString::fromUtf8(label) + QLatin1Char(',') + value);
    };
    const PowerParameters& p = c.parameters;
    line(QStringLiteral("KVT-Leistungsvergleich"));
    pair("Datei:", cleanVersionText(c.fileName));
    pair("Datum:", c.info.date);
    pair("Uhrzeit:", c.info.time);
    pair("KVT HW:", cleanVersionText(c.info.hardware));
    pair("KVT SW:", cleanVersionText(c.info.software));
    line({});
    out.append(app::encodeUtf16le(QStringLiteral("Kommentar:,") +
                                  cleanDescription(c.info.description) + QLatin1Char('\n')));
    line({});
    line(QStringLiteral("Umwelt"));
    pair("Temperatur [°C]:", QString::number(p.temperature));
    pair("Luftdruck [hPa]:", QString::number(p.pressure));
    pair("Luftfeuchte [%]:", QString::number(p.humidity));
    line(QStringLiteral("Fahrzeug"));
    pair("Fahrzeuggewicht [kg]:", QString::number(p.mass));
    pair("Uebersetzung [Rad/KW]:", fixed(p.ratio, 2));
    pair("Radumfang [cm]:", QString::number(p.wheelCircumference));
    pair("Windflaeche [m^2]:", fixed(p.frontalArea, 2));
    pair("cw-Wert:", fixed(p.cw, 2));
    line(QStringLiteral("Pruefstand"));
    pair("Rollenumfang [cm]:", QString::number(p.rollerCircumference));
    pair("Schwungm.Tr.Mom.[kgm^2]:", fixed(p.inertia, 2));
    line({});
    line(QStringLiteral("Logdaten"));
    line(QStringLiteral("t [ms],n KW [U/min]"));
    for (const PowerSample& s : c.samples)
        line(fixed(s.time, 3) + QLatin1Char(',') + fixed(s.speed, 3));
    line({});
    line(QStringLiteral("Auswertung"));
    line(c.options.system == MeasurementSystem::Roller ? QStringLiteral("Messsystem,rotatorisch")
                                                       : QStringLiteral("Messsystem,linear"));
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    pair("EWG 80/1269", flag(c.options.ewg));
    pair("DIN 70200", flag(c.options.din));
    pair("Add. Schleppwerte", flag(c.options.addDrag));
    line({});
    line(QStringLiteral("n [U/min],M [Nm],P [kW]"));
    for (const GridPoint& g : c.curve)
        line(fixed(g.speed, 2) + QLatin1Char(',') + fixed(g.torque, 2) + QLatin1Char(',') +
             fixed(g.power, 2));
    line(QStringLiteral("Dateiende"));
    return out;
}

PowerFileContent decodePowerFile(QByteArrayView bytes)
{
    const Lines lines(bytes);
    PowerFileContent c;
    c.fileName = field(lines[2], 1);
    c.info.date = field(lines[3], 1);
    c.info.time = field(lines[4], 1);
    c.info.hardware = field(lines[5], 1);
    c.info.software = field(lines[6], 1);
    c.info.description = field(lines[descriptionLine], 1);

    ParameterTexts t;
    t[int(Parameter::Temperature)] = field(lines[11], 1);
    t[int(Parameter::Pressure)] = field(lines[12], 1);
    t[int(Parameter::Humidity)] = field(lines[13], 1);
    t[int(Parameter::Mass)] = field(lines[15], 1);
    t[int(Parameter::Ratio)] = field(lines[16], 1);
    t[int(Parameter::WheelCircumference)] = field(lines[17], 1);
    t[int(Parameter::FrontalArea)] = field(lines[18], 1);
    t[int(Parameter::Cw)] = field(lines[19], 1);
    t[int(Parameter::RollerCircumference)] = field(lines[21], 1);
    t[int(Parameter::Inertia)] = field(lines[22], 1);
    c.parameters = parametersFromTexts(t);

    for (int i = 0; i < sampleCount; ++i) {
        const QString l = lines[firstSampleLine + i];
        c.samples[i].time = number(field(l, 0));
        c.samples[i].speed = number(field(l, 1));
    }
    c.systemText = field(lines[systemLine], 1);
    c.options.system = c.systemText == QLatin1String("rotatorisch") ? MeasurementSystem::Roller
                                                                    : MeasurementSystem::Linear;
    auto flag = [&](int n) { return field(lines[n], 1).trimmed().toInt() != 0; };
    c.options.ewg = flag(systemLine + 1);
    c.options.din = flag(systemLine + 2);
    c.options.addDrag = flag(systemLine + 3);
    if (c.options.din)
        c.options.ewg = false;
    for (int k = 0; k < gridPoints; ++k) {
        const QString l = lines[firstGridLine + k];
        c.curve[k] = {number(field(l, 0)), number(field(l, 1)), number(field(l, 2))};
    }
    return c;
}

ComparisonLabels comparisonLabels(const PowerFileContent& c)
{
    ComparisonLabels l;
    l.date = c.info.date;
    l.time = c.info.time;
    l.description = c.info.description;
    l.system = QLatin1Char('(') + c.systemText + QLatin1Char(')');
    l.correction = c.options.din   ? QStringLiteral("(DIN70200)")
                   : c.options.ewg ? QStringLiteral("(EWG80/1269)")
                                   : QStringLiteral("(keine Korr.)");
    l.drag =
        c.options.addDrag ? QStringLiteral("(Add. Schlepp.)") : QStringLiteral("(ignor. Schlepp.)");
    return l;
}

}  // namespace power
