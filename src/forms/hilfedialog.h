// Layout of the help window: one read-only text.
#pragma once

#include <QPlainTextEdit>
#include <QWidget>

namespace forms {

class Hilfedialog {
public:
    void setupUi(QWidget* content);
    QPlainTextEdit* text = nullptr;
};

}  // namespace forms
