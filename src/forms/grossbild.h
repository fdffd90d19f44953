// Layout of the big display: one canvas over the whole window, drawn on a 640 × 480 surface.
#pragma once

#include "forms/PaintBox.h"

namespace forms {

class Grossbild {
public:
    void setupUi(QWidget* content);

    PaintBox* canvas = nullptr;
};

}  // namespace forms
