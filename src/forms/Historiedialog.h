// Layouts of the setup history windows: the list of entries with its KVT filter and buttons,
// and the compare view of two setups (differing fields, differing cells per map).
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

namespace forms {

class Historiedialog {
public:
    void setupUi(QWidget* content);

    QComboBox* kvtFilter = nullptr;   // "alle KVT" and one line per KVT
    QTableWidget* entries = nullptr;  // newest first, whole rows selected
    QPushButton* compare = nullptr;
    QPushButton* compareFile = nullptr;
    QPushButton* restore = nullptr;
    QLabel* status = nullptr;
};

class Vergleichdialog {
public:
    void setupUi(QWidget* content);

    QLabel* thisSide = nullptr;   // what "dieser Wert" is
    QLabel* otherSide = nullptr;  // what "anderer Wert" is
    QTableWidget* fields = nullptr;
    QTableWidget* maps = nullptr;
    QLabel* summary = nullptr;
};

}  // namespace forms
