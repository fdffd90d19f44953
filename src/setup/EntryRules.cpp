// Text entry, rounding, clamping and display of setup values.
#include "setup/EntryRules.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace setup {
namespace {

constexpr qint64 saturation = 1'000'000'000'000LL;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

qint64 scaledDecimal(QStringView text, int decimals, Rounding rounding)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    qint64 magnitude = 0;
    const auto addDigit = [&magnitude](QChar c) {
        magnitude = std::min(saturation, magnitude * 10 + (c.unicode() - '0'));
    };
    while (i < text.size() && isDigit(text[i]))
        addDigit(text[i++]);
    int taken = 0;
    // Beyond the wanted decimals only the first digit and whether anything follows it matter.
    int firstRest = -1;
    bool restBeyondFirst = false;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            if (taken < decimals) {
                addDigit(text[i]);
                ++taken;
            } else if (firstRest < 0) {
                firstRest = text[i].unicode() - '0';
            } else if (text[i] != QLatin1Char('0')) {
                restBeyondFirst = true;
            }
        }
    }
    for (; taken < decimals; ++taken)
        magnitude = std::min(saturation, magnitude * 10);
    if (rounding == Rounding::HalfEven && firstRest >= 5) {
        const bool exactlyHalf = firstRest == 5 && !restBeyondFirst;
        if (!exactlyHalf || (magnitude % 2) == 1)
            magnitude = std::min(saturation, magnitude + 1);
    }
    return negative ? -magnitude : magnitude;
}

qint64 floorDivide(qint64 value, qint64 step)
{
    qint64 q = value / step;
    if ((value % step != 0) && ((value < 0) != (step < 0)))
        --q;
    return q;
}

qint64 roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double clamped = std::clamp(value, -double(saturation), double(saturation));
    const double floor = std::floor(clamped);
    const double diff = clamped - floor;
    auto whole = static_cast<qint64>(floor);
    if (diff > 0.5 || (diff == 0.5 && (whole % 2) != 0))
        ++whole;
    return whole;
}

int clampToRange(qint64 value, int minimum, int maximum)
{
    if (value > maximum)
        return maximum;
    if (value < minimum)
        return minimum;
    return static_cast<int>(value);
}

qint64 storedFromText(Encoding encoding, QStringView text)
{
    switch (encoding) {
    case Encoding::Rpm100: return floorDivide(wholeValue(text), 100);
    case Encoding::Rpm20: return floorDivide(wholeValue(text), 20);
    case Encoding::Charge250: return floorDivide(wholeValue(text), 250);
    case Encoding::Temp20: return wholeValue(text) + 20;
    case Encoding::LimpTiming: return wholeValue(text) + 30;
    case Encoding::Correction: return wholeValue(text) - 85;
    case Encoding::CentiVolt: return scaledDecimal(text, 2, Rounding::HalfEven);
    case Encoding::MilliVolt: return scaledDecimal(text, 3, Rounding::Truncate);
    case Encoding::Factor: return scaledDecimal(text, 0, Rounding::HalfEven);
    case Encoding::Degrees:
    case Encoding::Percent:
    case Encoding::PerMille:
    case Encoding::Micros:
    case Encoding::Flag:
    case Encoding::Count:
    case Encoding::Bits:
    case Encoding::Choice: break;
    }
    return wholeValue(text);
}

int entryValue(const FieldDescriptor& field, QStringView text)
{
    return clampToRange(storedFromText(field.encoding, text), field.minimum, field.maximum);
}

QString displayText(Encoding encoding, int stored)
{
    switch (encoding) {
    case Encoding::CentiVolt: return QString::number(stored / 100.0, 'f', 2);
    case Encoding::MilliVolt: return QString::number(stored / 1000.0, 'f', 3);
    default: return QString::number(static_cast<qint64>(engineeringValue(encoding, stored)));
    }
}

double engineeringValue(Encoding encoding, int stored)
{
    switch (encoding) {
    case Encoding::Rpm100: return 100.0 * stored;
    case Encoding::Rpm20: return 20.0 * stored;
    case Encoding::Charge250: return 250.0 * stored;
    case Encoding::Temp20: return stored - 20.0;
    case Encoding::LimpTiming: return stored - 30.0;
    case Encoding::Correction: return stored + 85.0;
    case Encoding::CentiVolt: return stored / 100.0;
    case Encoding::MilliVolt: return stored / 1000.0;
    default: return stored;
    }
}

QString unitText(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Degrees:
    case Encoding::LimpTiming: return QStringLiteral("°KW");
    case Encoding::Rpm100:
    case Encoding::Rpm20: return QStringLiteral("Umin");
    case Encoding::Temp20: return QStringLiteral("°C");
    case Encoding::CentiVolt:
    case Encoding::MilliVolt: return QStringLiteral("V");
    case Encoding::Percent:
    case Encoding::Correction: return QStringLiteral("%");
    case Encoding::PerMille: return QStringLiteral("°/oo");
    case Encoding::Micros:
    case Encoding::Charge250: return QStringLiteral("µs");
    default: return {};
    }
}

void orderOutputSpeeds(SetupRecord& record)
{
    if (record.output1Speed1 > record.output1Speed2)
        std::swap(record.output1Speed1, record.output1Speed2);
    if (record.output2Speed1 > record.output2Speed2)
        std::swap(record.output2Speed1, record.output2Speed2);
}

}  // namespace setup
