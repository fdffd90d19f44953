// The building blocks every window layout in this folder is made of, so that all windows look
// and size alike and no layout repeats them.
//
//   QGridLayout* g = nullptr;
//   QGroupBox* box = group("Motor", g);                 // titled frame around a compact grid
//   f.sensorAngle = fieldRow(g, 2, "Sensor v. OT:", "°KW", tip);  // label | field | unit
//   g->addWidget(label("bis:"), 6, 2);                   // a text, whole at any font size
//   g->addWidget(f.dynamicSpeed1 = numberField(tip), 6, 3);
//   auto* edge = new QButtonGroup(owner);                // option groups: id = stored value
//   option(edge, 0, "fallend", tip);  checkBox("Ein", tip);  button("EEPROM löschen", tip);
//
// Texts are UTF-8 literals (or QStrings) shown exactly as given. Fields are as wide as the
// number of characters they are made for in the font in use, so they never cut a value, and
// every widget keeps its minimum size hint, so a layout that needs more room than its window
// makes the window's content scroll instead of squashing labels.
#pragma once

#include <QString>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace forms {

// A text given as a UTF-8 literal or as a QString; empty by default.
class Text {
public:
    Text() = default;
    Text(const char* utf8) : m_text(QString::fromUtf8(utf8)) {}
    Text(QString text) : m_text(std::move(text)) {}
    const QString& str() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }

private:
    QString m_text;
};

// A German text from a UTF-8 literal, for texts put together from parts.
inline QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Characters a number field is made wide enough for ("16000", "-0.50").
inline constexpr int numberChars = 5;

QLabel* label(const Text& text);
// A label placed into a grid cell (spanning columns to the right).
QLabel* label(QGridLayout* grid, int row, int column, const Text& text, int span = 1);
// A label for values the window writes later (paths, results); wide enough for minChars.
QLabel* valueLabel(int minChars);
QLineEdit* numberField(const Text& toolTip = {}, int chars = numberChars);
QLineEdit* readOnlyField(const Text& toolTip = {}, int chars = numberChars);
QCheckBox* checkBox(const Text& text, const Text& toolTip = {});
// An option of an exclusive group; id is the value the option stands for.
QRadioButton* option(QButtonGroup* group, int id, const Text& text, const Text& toolTip = {});
QPushButton* button(const Text& text, const Text& toolTip = {});
// A titled frame with a compact grid for its rows.
QGroupBox* group(const Text& title, QGridLayout*& grid);
// Label in column 0, a number field for chars characters in column 1 and, if given, its unit
// in column 2.
QLineEdit* fieldRow(QGridLayout* grid, int row, const Text& text, const Text& unit = {},
                    const Text& toolTip = {}, int chars = numberChars);

}  // namespace forms
