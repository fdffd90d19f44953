// How typed text becomes a stored setup value and how a stored value is shown: the rules every
// window with setup input fields uses, so that all of them read numbers the same way.
#pragma once

#include "setup/SetupFields.h"

#include <QString>
#include <QStringView>

namespace setup {

enum class Rounding { HalfEven, Truncate };

// The text's leading decimal number (blanks, an optional sign, digits, a point and more digits)
// times 10^decimals, converted to a whole number exactly, without binary fractions. A text
// without a number counts as 0; "1,5" reads as 1 because only the point separates decimals.
// Saturates far outside every field's range instead of overflowing.
qint64 scaledDecimal(QStringView text, int decimals, Rounding rounding);

// Val: the whole-number value of the leading digits, 0 when there are none.
inline qint64 wholeValue(QStringView text)
{
    return scaledDecimal(text, 0, Rounding::Truncate);
}

// Int of a division: the whole part, rounding towards minus infinity.
qint64 floorDivide(qint64 value, qint64 step);

// Whole number nearest to value, halves to the even neighbour.
qint64 roundHalfEven(double value);

// Above the range becomes the maximum, below it the minimum.
int clampToRange(qint64 value, int minimum, int maximum);

// The stored value that typed text stands for under an encoding, before the range is applied.
qint64 storedFromText(Encoding encoding, QStringView text);

// Converted and limited to the field's range: the value an input field writes to the record.
int entryValue(const FieldDescriptor& field, QStringView text);

// The text an input field shows for a stored value ("1.00" for 100 centivolts).
QString displayText(Encoding encoding, int stored);
// The same value as a number in its unit (for tables and scripts).
double engineeringValue(Encoding encoding, int stored);
// The unit label shown beside a value ("°KW", "Umin", "°C", ...); empty for plain numbers.
QString unitText(Encoding encoding);

// The switch outputs need their first speed below the second: after limiting, a pair entered
// the wrong way round is swapped.
void orderOutputSpeeds(SetupRecord& record);

}  // namespace setup
