// Filling the history list and its buttons.
#include "history/HistoryWindow.h"

#include "forms/Window.h"
#include "history/CompareWindow.h"
#include "setup/SetupBlock.h"
#include "setup/SetupFileCodec.h"
#include "setup/SetupStore.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QSignalBlocker>
#include <set>

namespace history {
namespace {

QString timeText(const QDateTime& t)
{
    return t.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

}  // namespace

QString kvtText(const KvtIdentity& kvt)
{
    if (!kvt.identified())
        return QStringLiteral("keine KVT identifiziert");
    return QStringLiteral("%1  HW %2  SW %3  BL %4")
        .arg(kvt.deviceType.trimmed(), kvt.hw.trimmed(), kvt.sw.trimmed(), kvt.bl.trimmed());
}

HistoryWindow::HistoryWindow(forms::Window& window, SetupHistory& history, CompareWindow& compare,
                             app::Dialogs& dialogs, Restore restore, QObject* parent)
    : QObject(parent), m_window(window), m_history(history), m_compare(compare), m_dialogs(dialogs),
      m_restore(std::move(restore))
{
    m_form.setupUi(m_window.content());
    connect(m_form.kvtFilter, &QComboBox::currentIndexChanged, this, [this] { fillList(); });
    connect(m_form.compare, &QPushButton::clicked, this, &HistoryWindow::compareSelected);
    connect(m_form.compareFile, &QPushButton::clicked, this, &HistoryWindow::compareWithFile);
    connect(m_form.restore, &QPushButton::clicked, this, &HistoryWindow::restoreSelected);
    m_window.setFiller([this] { refill(); });
}

void HistoryWindow::refill()
{
    const QString current = m_form.kvtFilter->currentData().toString();
    {
        const QSignalBlocker block(m_form.kvtFilter);
        m_form.kvtFilter->clear();
        m_form.kvtFilter->addItem(QStringLiteral("alle KVT"), QString());
        for (const KvtIdentity& kvt : m_history.kvts())
            m_form.kvtFilter->addItem(kvtText(kvt), kvt.key());
        const int keep = m_form.kvtFilter->findData(current);
        m_form.kvtFilter->setCurrentIndex(keep >= 0 ? keep : 0);
    }
    fillList();
}

void HistoryWindow::historyChanged()
{
    if (m_window.isVisible())
        refill();
}

void HistoryWindow::fillList()
{
    const std::vector<Entry> entries = m_history.list(m_form.kvtFilter->currentData().toString());
    QTableWidget* t = m_form.entries;
    t->clearContents();
    t->setRowCount(int(entries.size()));
    int row = 0;
    for (const Entry& e : entries) {
        const QStringList cells = {QString::number(e.id),
                                   timeText(e.at),
                                   eventText(e.event),
                                   kvtText(e.kvt),
                                   e.repeats > 0 ? QString::number(e.repeats) : QString(),
                                   QFileInfo(e.path).fileName(),
                                   e.description};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setData(Qt::UserRole, e.id);
            if (c == 5)
                item->setToolTip(e.path);
            if (c == 6)
                item->setToolTip(e.description);
            t->setItem(row, c, item);
        }
        ++row;
    }
    t->resizeColumnsToContents();
    m_form.status->setText(m_history.isOpen() ? QStringLiteral("%1 Einträge").arg(entries.size())
                                              : QStringLiteral("Setup-Historie nicht verfügbar"));
}

std::vector<qint64> HistoryWindow::selectedIds() const
{
    std::set<int> rows;
    for (const QModelIndex& index : m_form.entries->selectionModel()->selectedRows())
        rows.insert(index.row());
    std::vector<qint64> ids;
    for (int row : rows)
        ids.push_back(m_form.entries->item(row, 0)->data(Qt::UserRole).toLongLong());
    return ids;
}

QString HistoryWindow::sideName(const Entry& e) const
{
    return QStringLiteral("Nr. %1 vom %2, %3").arg(e.id).arg(timeText(e.at), eventText(e.event));
}

void HistoryWindow::compareSelected()
{
    const std::vector<qint64> ids = selectedIds();
    if (ids.size() != 2) {
        m_dialogs.message(QStringLiteral("Vergleichen"),
                          QStringLiteral("Bitte genau zwei Einträge auswählen."));
        return;
    }
    const std::optional<Entry> a = m_history.get(ids[0]);
    const std::optional<Entry> b = m_history.get(ids[1]);
    if (!a || !b)
        return;
    m_compare.compare({sideName(*a), setup::decodeSetupBlock(a->block)},
                      {sideName(*b), setup::decodeSetupBlock(b->block)},
                      setup::CompareScope::Block);
}

void HistoryWindow::compareWithFile()
{
    const std::vector<qint64> ids = selectedIds();
    if (ids.size() != 1) {
        m_dialogs.message(QStringLiteral("Vergleichen"),
                          QStringLiteral("Bitte einen Eintrag auswählen."));
        return;
    }
    const std::optional<Entry> a = m_history.get(ids[0]);
    if (!a)
        return;
    const QString path =
        m_dialogs.openFile(QStringLiteral("Setup vergleichen"), QFileInfo(a->path).absolutePath(),
                           QStringLiteral("KVT-Dateien (*.kvt);;Alle Dateien (*.*)"));
    if (path.isEmpty())
        return;
    const setup::FileToCompare file = setup::readFileToCompare(path);
    if (!file.content) {
        m_dialogs.message(QStringLiteral("Vergleichen"),
                          QStringLiteral("Keine gültige Setup-Datei:\r") + path);
        return;
    }
    // The file has no dead times: they are left out of this comparison.
    m_compare.compare({sideName(*a), setup::decodeSetupBlock(a->block)}, {path, file.content->record},
                      setup::CompareScope::File);
}

void HistoryWindow::restoreSelected()
{
    const std::vector<qint64> ids = selectedIds();
    if (ids.size() != 1) {
        m_dialogs.message(QStringLiteral("Wiederherstellen"),
                          QStringLiteral("Bitte einen Eintrag auswählen."));
        return;
    }
    const std::optional<Entry> e = m_history.get(ids[0]);
    if (!e)
        return;
    if (e->block.size() != setup::setupBlockSize) {
        m_dialogs.message(QStringLiteral("Wiederherstellen"),
                          QStringLiteral("Eintrag Nr. %1 ist unvollständig (%2 Bytes) und wird "
                                         "nicht geladen.")
                              .arg(e->id)
                              .arg(e->block.size()));
        return;
    }
    if (!m_dialogs.question(QStringLiteral("Wiederherstellen"),
                            QStringLiteral("Eintrag Nr. %1 vom %2 laden?\rDas aktuelle Setup in "
                                           "der Motrix wird ersetzt.\rAn die KVT gesendet wird "
                                           "erst mit \"-> KVT\".")
                                .arg(e->id)
                                .arg(timeText(e->at))))
        return;
    m_restore(*e);
}

}  // namespace history
