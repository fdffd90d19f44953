// Layout of the emergency notice: the red warning across the window and its close button.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace forms {

class Notprogramm {
public:
    // The notice's size; its warning is drawn as large as fits across it.
    static constexpr int width = 205;
    static constexpr int height = 80;

    void setupUi(QWidget* window);

    QLabel* warning = nullptr;           // "!!!   Notprogramm ist aktiv   !!!"
    QPushButton* closeButton = nullptr;  // "Fenster schliessen"

private:
    static constexpr int margin = 6;
};

}  // namespace forms
