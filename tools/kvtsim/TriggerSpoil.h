// Ways to spoil the simulated crank sensor signal, so that the program's sensor checks have
// something to find: no signal at all, a wheel with the wrong tooth count, a gap that lasts
// too long for the set number of gaps.
#pragma once

#include "LiveFrame.h"

#include <QString>
#include <QtGlobal>

namespace kvtsim {

enum class TriggerSpoil { None, NoSignal, WrongTeeth, GapOff };

// Changes the trigger fields of a frame of a turning engine as the spoil says.
void spoilTrigger(LiveFrame& frame, TriggerSpoil spoil);

// "none", "nosignal", "teeth", "gap"; false when unknown.
bool parseTriggerSpoil(const QString& text, TriggerSpoil* spoil);
QString triggerSpoilName(TriggerSpoil spoil);

// One switched test output ("V"), with the simulator's time.
struct OutputEvent {
    qint64 ms = 0;
    int output = 0;
    quint16 value = 0;
};
// "V 1 = 1 (fuel pump on)" and the like, for the console.
QString describeOutput(int output, quint16 value);

}  // namespace kvtsim
