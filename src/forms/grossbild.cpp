// Layout of the big display.
#include "forms/grossbild.h"

#include <QVBoxLayout>

namespace forms {

void Grossbild::setupUi(QWidget* content)
{
    // The picture scales with the window, down to the smallest size of 160 × 120.
    content->setMinimumSize(160, 120);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    canvas = new PaintBox;
    canvas->setMinimumSize(160, 120);
    layout->addWidget(canvas);
}

}  // namespace forms
