// Writing and reading comparison files.
#include "power/PowerFile.h"

#include "app/core/NumberText.h"
#include "app/core/TextCut.h"
#include "app/core/Utf16Line.h"
#include "power/PowerParameters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

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

// Field index of a comma-separated line (empty when there is none), as a view into the line.
template <typename View, typename Comma>
View field(View line, int index, Comma comma)
{
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype at = line.indexOf(comma, start);
        if (at < 0)
            return {};
        start = at + 1;
    }
    const qsizetype end = line.indexOf(comma, start);
    return end < 0 ? line.sliced(start) : line.sliced(start, end - start);
}

template <typename View>
float number(View text)
{
    bool ok = false;
    const float v = text.trimmed().toFloat(&ok);
    return ok && std::isfinite(v) ? v : 0.0f;
}

// The numbers this program writes are read straight from the bytes, to a double and then to
// float as the text conversion does.
float number(QByteArrayView text)
{
    if (const std::optional<double> v = app::plainNumber(text))
        return float(*v);
    return number<QByteArrayView>(text);
}

// Eight bytes a step: a 25 kB file is checked line by line on every read.
bool isAscii(QByteArrayView bytes)
{
    const char* p = bytes.begin();
    std::uint64_t high = 0;
    for (; bytes.end() - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        high |= word;
    }
    for (; p != bytes.end(); ++p)
        high |= quint8(*p);
    return (high & 0x8080808080808080ull) == 0;
}

// The file's lines, numbered from 1; line 8 is read as UTF-16LE up to its two-byte line feed.
// The other lines stay views into the bytes: the 700 sample and 320 grid lines, most of the
// file, are read as numbers straight from them, without a text copy of each line and field.
class Lines {
public:
    explicit Lines(QByteArrayView bytes)
    {
        m_lines.reserve(fileLineCount);
        m_ascii.reserve(fileLineCount);
        qsizetype pos = 0;
        auto takeUtf8Line = [&] {
            qsizetype end = bytes.indexOf('\n', pos);
            if (end < 0)
                end = bytes.size();
            m_lines.push_back(bytes.sliced(pos, end - pos));
            m_ascii.push_back(isAscii(m_lines.back()));
            pos = std::min(end + 1, bytes.size());
        };
        while (int(m_lines.size()) < descriptionLine - 1 && pos < bytes.size())
            takeUtf8Line();
        if (int(m_lines.size()) == descriptionLine - 1 && pos < bytes.size()) {
            const app::Utf16Line line = app::readUtf16Line(bytes, pos, false);
            m_description = line.text;
            m_lines.push_back({});
            m_ascii.push_back(false);
            pos = line.terminated ? line.next : bytes.size();
        }
        // Whatever follows the last line of the format is never read.
        while (pos < bytes.size() && int(m_lines.size()) < fileLineCount)
            takeUtf8Line();
    }

    // Field index of line n as text; empty past the end.
    QString text(int n, int index) const
    {
        const QString line = lineText(n);
        return field(QStringView(line), index, QLatin1Char(',')).toString();
    }

    // Field index of line n as a finite number, 0 when it is none.
    float numberAt(int n, int index) const
    {
        if (n != descriptionLine && n >= 1 && n <= int(m_lines.size()) && m_ascii[n - 1])
            return number(field(m_lines[n - 1], index, ','));
        // Other characters than ASCII may be blanks that the text form trims.
        const QString line = lineText(n);
        return number(field(QStringView(line), index, QLatin1Char(',')));
    }

private:
    QString lineText(int n) const
    {
        if (n == descriptionLine)
            return m_description;
        if (n < 1 || n > int(m_lines.size()))
            return {};
        return QString::fromUtf8(m_lines[n - 1]);
    }

    std::vector<QByteArrayView> m_lines;
    std::vector<char> m_ascii;  // whether a line can be read from its bytes
    QString m_description;
};

}  // namespace

QString cleanDescription(const QString& text)
{
    return app::fieldComment(text, 200);
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
    auto numbers = [&](std::initializer_list<float> values, int decimals) {
        bool first = true;
        for (const float v : values) {
            if (!first)
                out.append(',');
            app::appendFixed(out, std::isfinite(v) ? double(v) : 0.0, decimals);
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
        numbers({s.time, s.speed}, 3);
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
        numbers({g.speed, g.torque, g.power}, 2);
    line(QStringLiteral("Dateiende"));
    return out;
}

PowerFileContent decodePowerFile(QByteArrayView bytes)
{
    const Lines lines(bytes);
    PowerFileContent c;
    c.fileName = lines.text(2, 1);
    c.info.date = lines.text(3, 1);
    c.info.time = lines.text(4, 1);
    c.info.hardware = lines.text(5, 1);
    c.info.software = lines.text(6, 1);
    c.info.description = lines.text(descriptionLine, 1);

    ParameterTexts t;
    t[int(Parameter::Temperature)] = lines.text(11, 1);
    t[int(Parameter::Pressure)] = lines.text(12, 1);
    t[int(Parameter::Humidity)] = lines.text(13, 1);
    t[int(Parameter::Mass)] = lines.text(15, 1);
    t[int(Parameter::Ratio)] = lines.text(16, 1);
    t[int(Parameter::WheelCircumference)] = lines.text(17, 1);
    t[int(Parameter::FrontalArea)] = lines.text(18, 1);
    t[int(Parameter::Cw)] = lines.text(19, 1);
    t[int(Parameter::RollerCircumference)] = lines.text(21, 1);
    t[int(Parameter::Inertia)] = lines.text(22, 1);
    c.parameters = parametersFromTexts(t);

    for (int i = 0; i < sampleCount; ++i) {
        c.samples[i].time = lines.numberAt(firstSampleLine + i, 0);
        c.samples[i].speed = lines.numberAt(firstSampleLine + i, 1);
    }
    c.systemText = lines.text(systemLine, 1);
    c.options.system = c.systemText == QLatin1String("rotatorisch") ? MeasurementSystem::Roller
                                                                    : MeasurementSystem::Linear;
    auto flag = [&](int n) { return lines.text(n, 1).trimmed().toInt() != 0; };
    c.options.ewg = flag(systemLine + 1);
    c.options.din = flag(systemLine + 2);
    c.options.addDrag = flag(systemLine + 3);
    if (c.options.din)
        c.options.ewg = false;
    for (int k = 0; k < gridPoints; ++k) {
        const int n = firstGridLine + k;
        c.curve[k] = {lines.numberAt(n, 0), lines.numberAt(n, 1), lines.numberAt(n, 2)};
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
