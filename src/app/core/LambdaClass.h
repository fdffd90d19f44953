// How rich or lean a lambda voltage is: the five classes between the four thresholds, their
// colours and judgement texts. Shared by the lambda grid, its printout, the big display and the
// command line, so it stands in the core that all of them reach.
#pragma once

#include "app/core/Rgb.h"

#include <QString>
#include <optional>

namespace lambda {

// The thresholds in mV: veryRich "sehr fett (++)" (T1) down to veryLean "sehr mager (--)" (T4).
struct Thresholds {
    double veryRich = 800;
    double rich = 600;
    double lean = 400;
    double veryLean = 200;
};

// 0 = very lean ("- -") … 4 = very rich ("+ +"), in the order the classes are tested.
enum class LambdaClass { VeryLean, Lean, Right, Rich, VeryRich };

// The class of a value in mV, tested from lean to rich so a value on a threshold takes the
// leaner class. Nothing below 0 or above upperMv (2000 in the grid).
std::optional<LambdaClass> classify(double mv, const Thresholds& t, double upperMv = 2000);

app::Rgb classColor(LambdaClass c);
// A value outside every class is drawn in this neutral grey.
inline constexpr app::Rgb kNoClassColor{190, 190, 190};
app::Rgb cellColor(double mv, const Thresholds& t);

// The judgement written into a grid cell ("- -", " -", "", " +", "+ +"); empty outside.
QString judgementText(std::optional<LambdaClass> c);

}  // namespace lambda
