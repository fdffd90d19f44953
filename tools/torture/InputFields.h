// Finds every input field a user can type into below a window's content, without a list of the
// fields: editable line edits, spin boxes, editable combo boxes and text edits. Each field gets
// a readable name from its group frame and the label beside it, so that a new field is covered
// and reported without changing the tool.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class QLineEdit;
class QWidget;

namespace torture {

struct InputField {
    QString window;            // the window's title suffix, e.g. "Einstellungen"
    QString name;              // group frame / label, e.g. "Motor / Sensor v. OT:"
    QPointer<QWidget> widget;  // the control itself (line edit, spin box, combo box, ...)
    QPointer<QLineEdit> edit;  // its line edit, where it has one
    bool numeric = false;      // showed a plain number when the window was filled

    QString text() const;
    QString label() const { return window + QStringLiteral(" / ") + name; }
};

// Every visible, enabled, editable input control below root, in the order they were created.
QList<InputField> findInputFields(QWidget* root, const QString& window);

// True for the texts a number field shows: an optional minus, digits, optionally a point and
// digits ("-20", "0.75", "1013").
bool isPlainNumber(const QString& text);

}  // namespace torture
