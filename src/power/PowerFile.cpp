// Writing and reading comparison files.
#include "power/PowerFile.h"

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

QByteArray fixed(float value, int decimals)
{
    return QByteArray::number(std::isfinite(value) ? double(value) : 0.0, 'f', decimals);
}

// Field index of a comma-separated line (empty when there is none), as a view into the line:
// the 700 sample and 320 grid lines are read without a copy of each field.
QStringView field(QStringView line, int index)
{
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype comma = line.indexOf(QLatin1Char(','), start);
        if (comma < 0)
            return {};
        start = comma + 1;
    }
    const qsizetype end = line.indexOf(QLatin1Char(','), start);
    return end < 0 ? line.sliced(start) : line.sliced(start, end - start);
}

float number(QStringView text)
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
        m_lines.reserve(fileLineCount);
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
        // Whatever follows the last line of the format is never read.
        while (pos < bytes.size() && m_lines.size() < fileLineCount)
            takeUtf8Line();
    }
    // An empty line past the end.
    QStringView operator[](int number) const
    {
        return number >= 1 && number <= m_lines.size() ? QStringView(m_lines[number - 1])
                                                       : QStringView();
    }

private:
    QStringList m_lines;
};

}  // namespace

QString cleanDescription(const QString& text)
{
    QString out = text.left(200);
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
    // The numeric lines are most of the file: written as bytes straight away.
    auto numbers = [&](std::initializer_list<QByteArray> values) {
        bool first = true;
        for (const QByteArray& v : values) {
            if (!first)
                out.append(',');
            out.append(v);
            first = false;
        }
        out.append('\n');
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
    pair("Uebersetzung [Rad/KW]:", QString::fromLatin1(fixed(p.ratio, 2)));
    pair("Radumfang [cm]:", QString::number(p.wheelCircumference));
    pair("Windflaeche [m^2]:", QString::fromLatin1(fixed(p.frontalArea, 2)));
    pair("cw-Wert:", QString::fromLatin1(fixed(p.cw, 2)));
    line(QStringLiteral("Pruefstand"));
    pair("Rollenumfang [cm]:", QString::number(p.rollerCircumference));
    pair("Schwungm.Tr.Mom.[kgm^2]:", QString::fromLatin1(fixed(p.inertia, 2)));
    line({});
    line(QStringLiteral("Logdaten"));
    line(QStringLiteral("t [ms],n KW [U/min]"));
    for (const PowerSample& s : c.samples)
        numbers({fixed(s.time, 3), fixed(s.speed, 3)});
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
        numbers({fixed(g.speed, 2), fixed(g.torque, 2), fixed(g.power, 2)});
    line(QStringLiteral("Dateiende"));
    return out;
}

PowerFileContent decodePowerFile(QByteArrayView bytes)
{
    const Lines lines(bytes);
    PowerFileContent c;
    c.fileName = field(lines[2], 1).toString();
    c.info.date = field(lines[3], 1).toString();
    c.info.time = field(lines[4], 1).toString();
    c.info.hardware = field(lines[5], 1).toString();
    c.info.software = field(lines[6], 1).toString();
    c.info.description = field(lines[descriptionLine], 1).toString();

    ParameterTexts t;
    t[int(Parameter::Temperature)] = field(lines[11], 1).toString();
    t[int(Parameter::Pressure)] = field(lines[12], 1).toString();
    t[int(Parameter::Humidity)] = field(lines[13], 1).toString();
    t[int(Parameter::Mass)] = field(lines[15], 1).toString();
    t[int(Parameter::Ratio)] = field(lines[16], 1).toString();
    t[int(Parameter::WheelCircumference)] = field(lines[17], 1).toString();
    t[int(Parameter::FrontalArea)] = field(lines[18], 1).toString();
    t[int(Parameter::Cw)] = field(lines[19], 1).toString();
    t[int(Parameter::RollerCircumference)] = field(lines[21], 1).toString();
    t[int(Parameter::Inertia)] = field(lines[22], 1).toString();
    c.parameters = parametersFromTexts(t);

    for (int i = 0; i < sampleCount; ++i) {
        const QStringView l = lines[firstSampleLine + i];
        c.samples[i].time = number(field(l, 0));
        c.samples[i].speed = number(field(l, 1));
    }
    c.systemText = field(lines[systemLine], 1).toString();
    c.options.system = c.systemText == QLatin1String("rotatorisch") ? MeasurementSystem::Roller
                                                                    : MeasurementSystem::Linear;
    auto flag = [&](int n) { return field(lines[n], 1).trimmed().toInt() != 0; };
    c.options.ewg = flag(systemLine + 1);
    c.options.din = flag(systemLine + 2);
    c.options.addDrag = flag(systemLine + 3);
    if (c.options.din)
        c.options.ewg = false;
    for (int k = 0; k < gridPoints; ++k) {
        const QStringView l = lines[firstGridLine + k];
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
