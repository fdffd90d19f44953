#include "app/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace app {

QString displayText(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void QtDialogs::message(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Information, title, displayText(text), QMessageBox::Ok, m_parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    EventGate::Hold hold(gate());
    box.exec();
}

bool QtDialogs::question(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nein"));
    box.setDefaultButton(QMessageBox::No);
    EventGate::Hold hold(gate());
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::input(const QString& title, const QString& prompt,
                                        const QString& initial, bool hidden)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(initial);
    dialog.setTextEchoMode(hidden ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    EventGate::Hold hold(gate());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtDialogs::openFile(const QString& title, const QString& startPath, const QString& filter)
{
    EventGate::Hold hold(gate());
    return QFileDialog::getOpenFileName(m_parent, title, startPath, filter);
}

QString QtDialogs::saveFile(const QString& title, const QString& startPath, const QString& filter)
{
    // The program asks its own overwrite question.
    EventGate::Hold hold(gate());
    return QFileDialog::getSaveFileName(m_parent, title, startPath, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::folder(const QString& title, const QString& startPath)
{
    EventGate::Hold hold(gate());
    return QFileDialog::getExistingDirectory(m_parent, title, startPath);
}

bool QtDialogs::print(const QString& jobName, const std::function<void(QPagedPaintDevice&)>& draw)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobName);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(jobName);
    EventGate::Hold hold(gate());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    draw(printer);
    return true;
}

}  // namespace app
