// Filling the compare view from the setup library's comparison.
#include "history/CompareWindow.h"

#include "forms/Window.h"

#include <QTableWidgetItem>

namespace history {
namespace {

void setRow(QTableWidget* table, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        table->setItem(row, c, new QTableWidgetItem(cells[c]));
}

}  // namespace

CompareWindow::CompareWindow(forms::Window& window) : m_window(window)
{
    m_form.setupUi(m_window.content());
}

void CompareWindow::compare(const CompareSide& a, const CompareSide& b, setup::CompareScope scope)
{
    const setup::SetupComparison result = setup::compareSetups(a.record, b.record, scope);
    m_form.thisSide->setText(a.name);
    m_form.otherSide->setText(b.name);

    QTableWidget* fields = m_form.fields;
    fields->setRowCount(int(result.fields.size()));
    int row = 0;
    for (const setup::FieldDifference& d : result.fields) {
        setRow(fields, row++,
               {setup::differenceName(*d.field, d.element), d.field->germanLabel(),
                setup::valueWithUnit(*d.field, d.a), setup::valueWithUnit(*d.field, d.b)});
    }
    fields->resizeColumnsToContents();

    QTableWidget* maps = m_form.maps;
    maps->setRowCount(int(result.maps.size()));
    row = 0;
    for (const setup::CellCount& m : result.maps) {
        setRow(
            maps, row,
            {m.field->germanLabel(), QStringLiteral("%1 von %2").arg(m.cells).arg(m.field->count)});
        // Maps with differences stand out; equal ones stay plain.
        if (m.cells > 0)
            for (int c = 0; c < 2; ++c)
                maps->item(row, c)->setBackground(QColor(255, 220, 160));
        ++row;
    }
    maps->resizeColumnsToContents();

    m_form.summary->setText(result.equal()
                                ? QStringLiteral("Die Setups sind gleich.")
                                : QStringLiteral("%1 abweichende Werte").arg(result.fields.size()));
    m_window.open();
}

}  // namespace history
