#include "forms/startlogo.h"

#include "app/core/ProgramInfo.h"

#include <QLabel>
#include <QVBoxLayout>

namespace forms {

void Startlogo::setupUi(QWidget* window)
{
    auto* layout = new QVBoxLayout(window);
    auto* name = new QLabel(app::programName);
    QFont big = name->font();
    big.setPointSize(20);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    for (const char16_t* text :
         {u"Zünd- & Einspritzsteuerung", u"für 2 Takt-Motoren", u"Viel Spaß"}) {
        auto* label = new QLabel(QString::fromUtf16(text));
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    progress = new QProgressBar;
    progress->setTextVisible(false);
    layout->addWidget(progress);
}

}  // namespace forms
