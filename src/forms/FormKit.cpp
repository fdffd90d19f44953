// The shared building blocks of the window layouts.
#include "forms/FormKit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>

namespace forms {
namespace {

void setTip(QWidget* widget, const Text& toolTip)
{
    if (!toolTip.isEmpty())
        widget->setToolTip(toolTip.str());
}

// The width a line edit needs to show chars digits whole in its current font and style.
int fieldWidth(QLineEdit* field, int chars)
{
    const QFontMetrics fm(field->font());
    const int text = fm.horizontalAdvance(QString(chars, QLatin1Char('0')));
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QMargins margins = field->textMargins();
    // Line edits keep a small inner margin beside the frame on each side.
    const QSize contents(text + margins.left() + margins.right() + 4, fm.height());
    return field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, field).width();
}

QLineEdit* makeField(const Text& toolTip, int chars, bool readOnly)
{
    auto* field = new QLineEdit;
    field->setReadOnly(readOnly);
    setTip(field, toolTip);
    field->setFixedWidth(fieldWidth(field, chars));
    return field;
}

}  // namespace

QLabel* label(const Text& text)
{
    return new QLabel(text.str());
}

QLabel* label(QGridLayout* grid, int row, int column, const Text& text, int span)
{
    QLabel* l = label(text);
    grid->addWidget(l, row, column, 1, span);
    return l;
}

QLabel* valueLabel(int minChars)
{
    auto* l = new QLabel;
    l->setMinimumWidth(QFontMetrics(l->font()).horizontalAdvance(QString(minChars, u'0')));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLineEdit* numberField(const Text& toolTip, int chars)
{
    return makeField(toolTip, chars, false);
}

QLineEdit* readOnlyField(const Text& toolTip, int chars)
{
    return makeField(toolTip, chars, true);
}

QCheckBox* checkBox(const Text& text, const Text& toolTip)
{
    auto* box = new QCheckBox(text.str());
    setTip(box, toolTip);
    return box;
}

QRadioButton* option(QButtonGroup* group, int id, const Text& text, const Text& toolTip)
{
    auto* button = new QRadioButton(text.str());
    setTip(button, toolTip);
    group->addButton(button, id);
    return button;
}

QPushButton* button(const Text& text, const Text& toolTip)
{
    auto* b = new QPushButton(text.str());
    setTip(b, toolTip);
    return b;
}

QGroupBox* group(const Text& title, QGridLayout*& grid)
{
    auto* box = new QGroupBox(title.str());
    grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    return box;
}

QLineEdit* fieldRow(QGridLayout* grid, int row, const Text& text, const Text& unit,
                    const Text& toolTip, int chars)
{
    grid->addWidget(label(text), row, 0);
    QLineEdit* field = numberField(toolTip, chars);
    grid->addWidget(field, row, 1);
    if (!unit.isEmpty())
        grid->addWidget(label(unit), row, 2);
    return field;
}

}  // namespace forms
