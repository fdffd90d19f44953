// Layout of the start window: program name, its purpose, a greeting and a progress bar.
#pragma once

#include <QProgressBar>
#include <QWidget>

namespace forms {

class Startlogo {
public:
    void setupUi(QWidget* window);
    QProgressBar* progress = nullptr;
};

}  // namespace forms
