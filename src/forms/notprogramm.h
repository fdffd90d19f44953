// Layout of the emergency notice: the red warning across the window and its close button.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace forms {

class Notprogramm {
public:
    void setupUi(QWidget* window);

    QLabel* warning = nullptr;           // "!!!   Notprogramm ist aktiv   !!!"
    QPushButton* closeButton = nullptr;  // "Fenster schliessen"
};

}  // namespace forms
