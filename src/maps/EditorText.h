// Texts and small rules of the main window's keys: the help window's list, the description
// padding of Return and the centred position of Shift+F1.
#pragma once

#include <QList>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace maps {

// The help window's rows (key or button, explanation), in their order; an empty pair is an
// empty line. The heading row is helpHeading(); the help window shows both in two columns.
QList<QPair<QString, QString>> helpRows();
QPair<QString, QString> helpHeading();

// Return in the main window: the description padded with blanks to exactly 100 characters,
// longer text cut.
QString padDescription(const QString& text);

}  // namespace maps
