#include "forms/hilfedialog.h"

#include <QVBoxLayout>

namespace forms {

void Hilfedialog::setupUi(QWidget* content)
{
    auto* layout = new QVBoxLayout(content);
    text = new QPlainTextEdit;
    text->setReadOnly(true);
    layout->addWidget(text);
}

}  // namespace forms
