// The system window's computations.
#include "app/core/SystemRules.h"

#include "app/core/TextCut.h"

#include <algorithm>

namespace app {

qint64 steppedEntry(qint64 value, qint64 step, qint64 minimum, qint64 maximum)
{
    const qint64 stepped = (value / step) * step;  // C++ division truncates toward zero
    return std::clamp(stepped, minimum, maximum);
}

QString loggerTimeText(qint64 records, qint64 periodMs)
{
    const qint64 seconds = std::max<qint64>(0, records * periodMs / 1000);
    const QChar zero = QLatin1Char('0');
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, zero)
        .arg((seconds / 60) % 60, 2, 10, zero)
        .arg(seconds % 60, 2, 10, zero);
}

QString loggerSizeText(qint64 records)
{
    return QString::number(records * 65 / 1000) + QStringLiteral(" kB");
}

bool lambdaThresholdsOutOfOrder(double veryRich, double rich, double lean, double veryLean)
{
    return rich > veryRich || lean > rich || veryLean > lean;
}

QString lambdaThresholdWarning(double veryRich, double rich, double lean, double veryLean)
{
    return lambdaThresholdsOutOfOrder(veryRich, rich, lean, veryLean)
               ? QStringLiteral("Lambdaanzeigewerte prüfen!")
               : QString();
}

QString voltsText(double millivolts)
{
    // A threshold typed to the millivolt shows its third decimal: with two, the next take-over
    // would read the shown text back and silently round the stored value to 10 mV.
    const qint64 mv = qRound64(millivolts);
    return QString::number(millivolts / 1000.0, 'f', mv % 10 == 0 ? 2 : 3);
}

QString printoutTextEntry(const QString& text)
{
    return cutWhole(text, 100);
}

}  // namespace app
