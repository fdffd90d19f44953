// Cutting a typed text to the length a field or file keeps without leaving half of a character
// behind: a character outside the basic plane takes two UTF-16 units, and a cut between them
// (or a field's own length limit) would leave a lone surrogate that no file encodes faithfully.
#pragma once

#include <QString>

namespace app {

// The longest start of text within maxUnits UTF-16 units that ends on a whole character;
// unpaired surrogates, which are no character at all, are left out.
inline QString cutWhole(const QString& text, qsizetype maxUnits)
{
    QString out;
    out.reserve(qMin(text.size(), maxUnits));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            if (out.size() + 2 > maxUnits)
                break;
            out += c;
            out += text[++i];
        } else if (!c.isSurrogate()) {
            if (out.size() + 1 > maxUnits)
                break;
            out += c;
        }
    }
    return out;
}

// A comment or description as a file keeps it on its one line of comma-separated fields: its
// first maxUnits units (whole characters), without line feeds, carriage returns and commas;
// "..." when nothing is left.
inline QString fieldComment(const QString& text, qsizetype maxUnits)
{
    QString out = cutWhole(text, maxUnits);
    out.remove(QLatin1Char('\n'));
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char(','));
    return out.isEmpty() ? QStringLiteral("...") : out;
}

}  // namespace app
