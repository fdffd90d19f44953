// The one QApplication of the window tests, created on first use.
#pragma once

#include <QApplication>

namespace displaytest {

inline QApplication& application()
{
    static int argc = 1;
    static char name[] = "display_window_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing the application down after main() races Qt's own exit handlers.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace displaytest
