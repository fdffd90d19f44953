// What the program stores from its input fields, read without the windows: the setup record,
// the program settings, the test window's values, the power parameters and the texts kept for
// files. A snapshot compares two moments; the range check holds every stored value against the
// range its take-over rule promises.
#pragma once

#include <QString>
#include <QStringList>
#include <map>

namespace app {
class Motrix;
}

namespace torture {

// Every stored value as text, by a stable name ("setup.sensorAngle", "settings.comTimer", ...).
using Snapshot = std::map<QString, QString>;
Snapshot snapshot(app::Motrix& motrix);

// The names whose values differ between two snapshots.
QStringList differences(const Snapshot& before, const Snapshot& after);

// One line per stored value outside its range (empty when all are within).
QStringList rangeFaults(app::Motrix& motrix);

// Brings every setup value into its editing range first, so that a value outside it afterwards
// can only come from a take-over (some defaults of the record lie outside the editing range).
void startInRange(app::Motrix& motrix);

}  // namespace torture
