// Lambda classes, colours and judgement texts.
#include "app/core/LambdaClass.h"

namespace lambda {

std::optional<LambdaClass> classify(double mv, const Thresholds& t, double upperMv)
{
    if (mv >= 0 && mv <= t.veryLean)
        return LambdaClass::VeryLean;
    if (mv >= t.veryLean && mv <= t.lean)
        return LambdaClass::Lean;
    if (mv >= t.lean && mv <= t.rich)
        return LambdaClass::Right;
    if (mv >= t.rich && mv <= t.veryRich)
        return LambdaClass::Rich;
    if (mv >= t.veryRich && mv <= upperMv)
        return LambdaClass::VeryRich;
    return std::nullopt;
}

app::Rgb classColor(LambdaClass c)
{
    switch (c) {
    case LambdaClass::VeryLean: return {2, 123, 255};
    case LambdaClass::Lean: return {2, 249, 255};
    case LambdaClass::Right: return {2, 255, 25};
    case LambdaClass::Rich: return {230, 255, 2};
    case LambdaClass::VeryRich: return {255, 113, 2};
    }
    return kNoClassColor;
}

app::Rgb cellColor(double mv, const Thresholds& t)
{
    const auto c = classify(mv, t);
    return c ? classColor(*c) : kNoClassColor;
}

QString judgementText(std::optional<LambdaClass> c)
{
    if (!c)
        return {};
    switch (*c) {
    case LambdaClass::VeryLean: return QStringLiteral("- -");
    case LambdaClass::Lean: return QStringLiteral(" -");
    case LambdaClass::Right: return {};
    case LambdaClass::Rich: return QStringLiteral(" +");
    case LambdaClass::VeryRich: return QStringLiteral("+ +");
    }
    return {};
}

}  // namespace lambda
