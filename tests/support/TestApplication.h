// The one QApplication of a window test program, created on first use.
#pragma once

#include <QApplication>

namespace testsupport {

inline QApplication& application()
{
    static int argc = 1;
    static char name[] = "motrix-window-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing the application down after main() races Qt's own exit handlers
    // (and the key device QTest registers).
    static auto* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace testsupport
