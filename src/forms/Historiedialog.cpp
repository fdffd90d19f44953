// Layouts of the setup history and compare windows.
#include "forms/Historiedialog.h"

#include "forms/FormKit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace forms {
namespace {

QTableWidget* table(const QStringList& headers)
{
    auto* t = new QTableWidget(0, int(headers.size()));
    t->setHorizontalHeaderLabels(headers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    // One line per row: long descriptions and paths are cut, their whole text is the tool tip.
    t->setWordWrap(false);
    t->setTextElideMode(Qt::ElideRight);
    t->setMinimumHeight(160);
    return t;
}

}  // namespace

void Historiedialog::setupUi(QWidget* content)
{
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(4);

    auto* filter = new QHBoxLayout;
    filter->addWidget(label("KVT:"));
    kvtFilter = new QComboBox;
    kvtFilter->setToolTip(u("Zeigt nur die Einträge dieser KVT"));
    kvtFilter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    filter->addWidget(kvtFilter);
    filter->addStretch();
    outer->addLayout(filter);

    entries = table(
        {u("Nr."), u("Zeit"), u("Vorgang"), u("KVT"), u("Wdh."), u("Datei"), u("Beschreibung")});
    entries->setSelectionMode(QAbstractItemView::ExtendedSelection);
    entries->setToolTip(u("Zwei Einträge auswählen (Strg+Klick), um sie zu vergleichen"));
    outer->addWidget(entries, 1);

    auto* buttons = new QHBoxLayout;
    compare = button("Vergleichen", "Vergleicht die zwei ausgewählten Einträge");
    compareFile = button("Mit Datei vergleichen ...",
                         "Vergleicht den ausgewählten Eintrag mit einer Setup-Datei");
    restore = button("Wiederherstellen",
                     "Lädt den ausgewählten Eintrag in die Motrix wie \"Laden\" eine Datei - "
                     "gesendet wird erst mit \"-> KVT\"");
    buttons->addWidget(compare);
    buttons->addWidget(compareFile);
    buttons->addStretch();
    buttons->addWidget(restore);
    outer->addLayout(buttons);
    status = valueLabel(40);
    outer->addWidget(status);
}

void Vergleichdialog::setupUi(QWidget* content)
{
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(4);

    QGridLayout* s = nullptr;
    QGroupBox* sides = group("Verglichen", s);
    s->addWidget(label("dieser Wert:"), 0, 0);
    thisSide = valueLabel(40);
    s->addWidget(thisSide, 0, 1);
    s->addWidget(label("anderer Wert:"), 1, 0);
    otherSide = valueLabel(40);
    s->addWidget(otherSide, 1, 1);
    s->setColumnStretch(1, 1);
    outer->addWidget(sides);

    fields = table({u("Feld"), u("Bezeichnung"), u("dieser Wert"), u("anderer Wert")});
    outer->addWidget(fields, 2);
    maps = table({u("Kennfeld / Kurve"), u("abweichende Zellen")});
    maps->setMinimumHeight(150);
    outer->addWidget(maps, 1);
    summary = valueLabel(30);
    outer->addWidget(summary);
}

}  // namespace forms
