// Layout of the help window.
#include "forms/hilfedialog.h"

#include <QFontMetrics>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextTable>
#include <QVBoxLayout>
#include <algorithm>

namespace forms {

void Hilfedialog::setupUi(QWidget* content)
{
    auto* layout = new QVBoxLayout(content);
    text = new QTextEdit;
    text->setReadOnly(true);
    text->setLineWrapMode(QTextEdit::WidgetWidth);
    layout->addWidget(text);
}

void Hilfedialog::setRows(const QPair<QString, QString>& heading,
                          const QList<QPair<QString, QString>>& rows)
{
    text->clear();
    // The key column is as wide as its widest entry; the explanations take the rest of the
    // width and wrap there, never back under the keys.
    const QFontMetrics fm(text->font());
    QFont boldFont = text->font();
    boldFont.setBold(true);
    int keyWidth = QFontMetrics(boldFont).horizontalAdvance(heading.first);
    for (const auto& row : rows)
        keyWidth = std::max(keyWidth, fm.horizontalAdvance(row.first));
    const int gap = fm.horizontalAdvance(QStringLiteral("    "));

    QTextTableFormat format;
    format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    format.setBorder(0);
    format.setCellPadding(1);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, keyWidth + gap),
                                      QTextLength(QTextLength::VariableLength, 0)});
    QTextCursor cursor(text->document());
    QTextTable* table = cursor.insertTable(int(rows.size()) + 1, 2, format);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    table->cellAt(0, 0).firstCursorPosition().insertText(heading.first, bold);
    table->cellAt(0, 1).firstCursorPosition().insertText(heading.second, bold);
    for (int r = 0; r < rows.size(); ++r) {
        table->cellAt(r + 1, 0).firstCursorPosition().insertText(rows[r].first);
        table->cellAt(r + 1, 1).firstCursorPosition().insertText(rows[r].second);
    }
    text->moveCursor(QTextCursor::Start);
}

}  // namespace forms
