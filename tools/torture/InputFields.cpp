// Enumerating and naming the input fields of a window.
#include "InputFields.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

namespace torture {
namespace {

// The text of the label left of w in its grid row, or of the nearest label before it.
QString rowLabel(QWidget* w)
{
    QWidget* parent = w->parentWidget();
    if (!parent || !parent->layout())
        return {};
    auto* grid = qobject_cast<QGridLayout*>(parent->layout());
    if (!grid)
        return {};
    const int index = grid->indexOf(w);
    if (index < 0)
        return {};
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    for (int c = column - 1; c >= 0; --c) {
        QLayoutItem* item = grid->itemAtPosition(row, c);
        if (auto* l = item ? qobject_cast<QLabel*>(item->widget()) : nullptr)
            if (!l->text().trimmed().isEmpty())
                return l->text().trimmed();
    }
    // A field above its label's row or under a column heading: the label just above it.
    for (int r = row - 1; r >= 0; --r) {
        QLayoutItem* item = grid->itemAtPosition(r, column);
        if (auto* l = item ? qobject_cast<QLabel*>(item->widget()) : nullptr)
            if (!l->text().trimmed().isEmpty())
                return l->text().trimmed();
    }
    return {};
}

QString groupTitle(QWidget* w)
{
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* g = qobject_cast<QGroupBox*>(p))
            if (!g->title().isEmpty())
                return g->title();
    return {};
}

bool editable(QWidget* w)
{
    if (!w->isVisibleTo(w->window()) || !w->isEnabled())
        return false;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return !e->isReadOnly();
    if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
        return !s->isReadOnly();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->isEditable();
    if (auto* t = qobject_cast<QPlainTextEdit*>(w))
        return !t->isReadOnly();
    if (auto* t = qobject_cast<QTextEdit*>(w))
        return !t->isReadOnly();
    return false;
}

// A line edit that belongs to a spin box or combo box is typed into through its owner.
bool ownedByControl(QWidget* w)
{
    QWidget* p = w->parentWidget();
    return qobject_cast<QLineEdit*>(w) &&
           (qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QComboBox*>(p));
}

}  // namespace

QString InputField::text() const
{
    if (edit)
        return edit->text();
    if (auto* t = qobject_cast<QPlainTextEdit*>(widget.data()))
        return t->toPlainText();
    if (auto* t = qobject_cast<QTextEdit*>(widget.data()))
        return t->toPlainText();
    return {};
}

QList<InputField> findInputFields(QWidget* root, const QString& window)
{
    QList<InputField> out;
    QHash<QString, int> seen;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (ownedByControl(w) || !editable(w))
            continue;
        InputField f;
        f.window = window;
        f.widget = w;
        if (auto* e = qobject_cast<QLineEdit*>(w))
            f.edit = e;
        else if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
            f.edit = s->findChild<QLineEdit*>();
        else if (auto* c = qobject_cast<QComboBox*>(w))
            f.edit = c->lineEdit();
        // The label beside the field, unless that is only a unit or a connecting word
        // ("°/oo", "V bei"), where the field's tool tip says more.
        QString name = rowLabel(w);
        const bool unitOnly = name.simplified().size() <= 6 && !name.endsWith(QLatin1Char(':'));
        if ((name.isEmpty() || unitOnly) && !w->toolTip().isEmpty())
            name = w->toolTip().left(45);
        if (name.isEmpty())
            name = QString::fromLatin1(w->metaObject()->className());
        const QString group = groupTitle(w);
        if (!group.isEmpty())
            name = group + QStringLiteral(" / ") + name;
        // Fields under one label (three injectors, four calibration values) are numbered.
        const int n = ++seen[name];
        if (n > 1)
            name += QStringLiteral(" #%1").arg(n);
        f.name = name;
        f.numeric = isPlainNumber(f.text());
        out.push_back(f);
    }
    return out;
}

bool isPlainNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    return number.match(text).hasMatch();
}

}  // namespace torture
