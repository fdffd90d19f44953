// Spreadsheet text of a block, both ways.
#include "maps/BlockText.h"

#include "setup/EntryRules.h"

#include <QRegularExpression>
#include <QStringList>

namespace maps {

QString blockText(const BlockValues& block)
{
    QString out;
    for (int r = block.rows - 1; r >= 0; --r) {
        for (int c = 0; c < block.columns; ++c) {
            if (c > 0)
                out += u'\t';
            out += QString::number(block.at(c, r));
        }
        out += u'\n';
    }
    return out;
}

ParsedBlock parseBlockText(const QString& text)
{
    if (text.size() > blockTextLimit)
        return {std::nullopt, QStringLiteral("Die Zwischenablage enthält zu viel Text für einen "
                                             "Kennfeldblock.")};
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = plain.split(u'\n');
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return {std::nullopt, QStringLiteral("Die Zwischenablage enthält keine Werte.")};

    static const QRegularExpression number(QStringLiteral("^[+-]?\\d{1,9}([.,]\\d{1,9})?$"));
    BlockValues block;
    block.rows = int(lines.size());
    std::vector<std::vector<int>> rows;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u'\t');
        if (i == 0)
            block.columns = int(fields.size());
        else if (fields.size() != block.columns)
            return {std::nullopt,
                    QStringLiteral("Die Zeilen der Zwischenablage haben verschieden viele Werte "
                                   "(Zeile 1: %1, Zeile %2: %3).")
                        .arg(block.columns)
                        .arg(i + 1)
                        .arg(fields.size())};
        std::vector<int> row;
        for (int j = 0; j < fields.size(); ++j) {
            QString field = fields[j].trimmed();
            if (!number.match(field).hasMatch())
                return {std::nullopt, QStringLiteral("Zeile %1, Spalte %2: \"%3\" ist keine Zahl.")
                                          .arg(i + 1)
                                          .arg(j + 1)
                                          .arg(field.left(20))};
            field.replace(u',', u'.');
            row.push_back(int(setup::scaledDecimal(field, 0, setup::Rounding::HalfEven)));
        }
        rows.push_back(std::move(row));
    }
    // The first line is the top row, the one with the highest throttle.
    for (int r = block.rows - 1; r >= 0; --r)
        block.values.insert(block.values.end(), rows[size_t(r)].begin(), rows[size_t(r)].end());
    return {std::move(block), {}};
}

}  // namespace maps
