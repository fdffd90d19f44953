// Writing and reading ".kll" lambda log files.
#include "lambda/KllFile.h"

#include "app/core/NumberText.h"
#include "app/core/TextCut.h"
#include "app/core/Utf16Line.h"

#include <QFileInfo>
#include <cmath>
#include <optional>

namespace lambda {

namespace {

const QString kCommentKey = QStringLiteral("Kommentar:,");

// Throttle of row j as the file heads it: halves to the even neighbour (12.5 → 12).
int throttleLabel(int j)
{
    return int(std::nearbyint((j - 1) * 12.5));
}

QString headerText(QString text)
{
    for (QChar c : {QChar('\r'), QChar('\n'), QChar(',')})
        text.replace(c, QChar(' '));
    return text;
}

// Reads UTF-8 lines from a position; past the end every line is empty.
class LineReader {
public:
    explicit LineReader(const QByteArray& bytes) : m_bytes(bytes) {}

    QString next() { return QString::fromUtf8(nextBytes()); }

    // The next line's bytes without its line end, viewed in place.
    QByteArrayView nextBytes()
    {
        if (m_pos >= m_bytes.size())
            return {};
        qsizetype end = m_bytes.indexOf('\n', m_pos);
        if (end < 0)
            end = m_bytes.size();
        QByteArrayView line(m_bytes.constData() + m_pos, end - m_pos);
        m_pos = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }

    QString nextUtf16()
    {
        if (m_pos >= m_bytes.size())
            return {};
        const app::Utf16Line line = app::readUtf16Line(m_bytes, m_pos, false);
        m_pos = line.terminated ? line.next : m_bytes.size();
        QString text = line.text;
        if (text.endsWith(QChar('\r')))
            text.chop(1);
        return text;
    }

    void skip(int lines)
    {
        for (int n = 0; n < lines; ++n)
            nextBytes();
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

QString field(const QString& line, int n)
{
    return line.section(QChar(','), n, n);
}

// A volt figure from the file in whole mV; anything unreadable or absurd counts as 0 so that a
// damaged file can neither overflow nor smuggle in values no probe delivers.
int millivolts(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 65.535)
        return 0;
    return int(std::nearbyint(v * 1000));
}

// The same for a field of a table row; the numbers this program writes are read straight from
// the bytes.
int millivolts(QByteArrayView field)
{
    const std::optional<double> v = app::plainNumber(field);
    if (!v)
        return millivolts(QString::fromUtf8(field));
    if (std::fabs(*v) > 65.535)
        return 0;
    return int(std::nearbyint(*v * 1000));
}

}  // namespace

QString kllNumber(int mv)
{
    return QString::number(mv / 1000.0, 'f', 2);
}

QByteArray encodeKll(const KllDocument& doc, const QString& fileName)
{
    QByteArray out;
    const auto line = [&out](const QString& text) { out += text.toUtf8() + '\n'; };
    line(QStringLiteral("KVT-Lambdalog"));
    line(QStringLiteral("Datei:,") + headerText(fileName));
    line(QStringLiteral("Datum:,") + headerText(doc.date));
    line(QStringLiteral("Uhrzeit:,") + headerText(doc.time));
    line(QStringLiteral("KVT HW:,") + headerText(doc.hardware));
    line(QStringLiteral("KVT SW:,") + headerText(doc.software));
    line({});
    out += app::encodeUtf16le(kCommentKey + cleanComment(doc.comment) + QChar('\n'));
    line({});
    QByteArray speeds = "Umin -> ";
    for (int n = 0; n < kSpeedCells; ++n)
        speeds += ',' + QByteArray::number(n * 1000);
    out.reserve(out.size() + kProbes * (40 + kThrottleCells * (4 + kSpeedCells * 6)) + 200);
    for (int k = 1; k <= kProbes; ++k) {
        out += "Lambda " + QByteArray::number(k) + "\nDrosselklappe [%]\n";
        for (int j = kThrottleCells; j >= 1; --j) {
            out += QByteArray::number(throttleLabel(j));
            for (int i = 1; i <= kSpeedCells; ++i) {
                out += ',';
                app::appendFixed(out, doc.table.at(i, j, k) / 1000.0, 2);
            }
            out += '\n';
        }
        out += speeds + "\n\n";
    }
    out += "Dateiende\n";
    return out;
}

KllDocument decodeKll(const QByteArray& bytes)
{
    KllDocument doc;
    LineReader in(bytes);
    in.skip(2);
    doc.date = field(in.next(), 1);
    doc.time = field(in.next(), 1);
    doc.hardware = field(in.next(), 1);
    doc.software = field(in.next(), 1);
    in.skip(1);
    doc.comment = field(in.nextUtf16(), 1);
    in.skip(1);
    for (int k = 1; k <= kProbes; ++k) {
        in.skip(2);
        for (int j = kThrottleCells; j >= 1; --j) {
            QByteArrayView rest = in.nextBytes();
            // Field 0 is the throttle label; fields 1 to 17 are the speeds' values.
            for (int i = 0; i <= kSpeedCells; ++i) {
                const qsizetype comma = rest.indexOf(',');
                const QByteArrayView field = comma < 0 ? rest : rest.first(comma);
                if (i > 0)
                    doc.table.set(i, j, k, rest.isNull() ? 0 : millivolts(field));
                rest = comma < 0 ? QByteArrayView() : rest.sliced(comma + 1);
            }
        }
        in.skip(2);
    }
    return doc;
}

QString cleanComment(const QString& text)
{
    return app::fieldComment(text, 100);
}

QString withKllExtension(const QString& path)
{
    if (QFileInfo(path).suffix() == QLatin1String("kll"))
        return path;
    return path + QStringLiteral(".kll");
}

QString shortenedPath(const QString& path)
{
    if (path.size() <= 50)
        return path;
    return path.left(22) + QStringLiteral(" ... ") + path.right(22);
}

}  // namespace lambda
