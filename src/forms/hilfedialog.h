// Layout of the help window: the keys and buttons of the main window in two columns, each
// explanation wrapping inside its own column.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QTextEdit>
#include <QWidget>

namespace forms {

class Hilfedialog {
public:
    void setupUi(QWidget* content);
    // The heading and the rows (key or button, explanation); an empty pair is an empty line.
    void setRows(const QPair<QString, QString>& heading,
                 const QList<QPair<QString, QString>>& rows);

    QTextEdit* text = nullptr;
};

}  // namespace forms
