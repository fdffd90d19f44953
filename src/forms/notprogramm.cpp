// Layout of the emergency notice.
#include "forms/notprogramm.h"

#include "app/core/ProgramInfo.h"

#include <QFontMetrics>
#include <QVBoxLayout>

namespace forms {

void Notprogramm::setupUi(QWidget* window)
{
    window->setObjectName(QStringLiteral("NotProgramm"));
    window->setWindowTitle(app::windowTitle(QStringLiteral(" - Notprogramm")));
    // A title bar without buttons leaves its whole width to the title; the notice is closed by
    // the KVT or, after the link is lost, by its own button.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(margin, margin, margin, margin);
    warning = new QLabel(QStringLiteral("!!!   Notprogramm ist aktiv   !!!"));
    warning->setAlignment(Qt::AlignCenter);
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    warning->setPalette(red);
    // Bold, and as large as fits across the window.
    QFont bold = warning->font();
    bold.setBold(true);
    while (bold.pointSizeF() > 5 &&
           QFontMetrics(bold).horizontalAdvance(warning->text()) > width - 2 * margin)
        bold.setPointSizeF(bold.pointSizeF() - 0.5);
    warning->setFont(bold);
    layout->addWidget(warning);
    closeButton = new QPushButton(QStringLiteral("Fenster schliessen"));
    layout->addWidget(closeButton);
    window->resize(width, height);
}

}  // namespace forms
