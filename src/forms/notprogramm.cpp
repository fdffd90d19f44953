// Layout of the emergency notice.
#include "forms/notprogramm.h"

#include "app/core/ProgramInfo.h"

#include <QVBoxLayout>

namespace forms {

void Notprogramm::setupUi(QWidget* window)
{
    window->setObjectName(QStringLiteral("NotProgramm"));
    window->setWindowTitle(app::windowTitle(QStringLiteral(" - Notprogramm")));
    window->setWindowFlag(Qt::WindowStaysOnTopHint);
    window->resize(205, 80);
    auto* layout = new QVBoxLayout(window);
    warning = new QLabel(QStringLiteral("!!!   Notprogramm ist aktiv   !!!"));
    warning->setAlignment(Qt::AlignCenter);
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    warning->setPalette(red);
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);
    layout->addWidget(warning);
    closeButton = new QPushButton(QStringLiteral("Fenster schliessen"));
    layout->addWidget(closeButton);
}

}  // namespace forms
