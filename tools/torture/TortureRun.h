// Drives the typed-input torture through the running program: opens every window, finds its
// input fields, types hostile and random texts into each and takes them over the ways a user
// does (Return, keypad Enter, Tab, a click into another field, another window taking the
// focus, the window's take-over button), then checks that every stored value is within its
// range, that every number field shows a plain number, and that taking the fields over again
// changes nothing (the shown text reads back as the stored value).
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace torture {

struct Options {
    quint64 seed = 16;
    int fixedPerField = -1;  // fixed hostile texts per field; -1: all of them
    int randomPerField = 4;  // random texts per field on top
    QString onlyWindow;      // empty: every window
    bool verbose = false;
};

struct Figures {
    QMap<QString, int> fieldsPerWindow;  // window → number of input fields
    QStringList fields;                  // "window / name" of every field covered
    qint64 textsTyped = 0;
    qint64 takeOvers = 0;
    qint64 mapValuesTyped = 0;  // texts answered to the map editor's value box
    qint64 buttonClicks = 0;    // clicks on take-over buttons ("Werte übernehmen")
    QStringList faults;         // one line per fault found (empty: all well)
    int messages = 0, questions = 0;
};

// Runs in a fresh program directory below dir. Needs a QApplication.
Figures runTorture(const Options& options, const QString& dir);

}  // namespace torture
