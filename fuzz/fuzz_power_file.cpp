// libFuzzer target: reading arbitrary bytes as a power comparison file, evaluating what was
// read and scaling a chart for it, then writing it back.
#include "power/ChartScale.h"
#include "power/PowerCompute.h"
#include "power/PowerFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const power::PowerFileContent content = power::decodePowerFile(bytes);
    const power::Evaluation e =
        power::compute(content.samples, content.parameters, content.options);
    for (const power::GridPoint& g : e.curve)
        if (!std::isfinite(g.torque) || !std::isfinite(g.power))
            std::abort();
    power::PowerCurves curves{e.curve, content.curve, {}};
    const power::ChartScale s = power::chartScale(curves, e.samples, 500, true);
    if (!std::isfinite(s.k) || s.xMax < 1000)
        std::abort();
    // What was read writes back as a whole file and reads back the same from then on. (Bytes
    // 0x0A may stand inside the UTF-16 description, so lines are not counted by bytes here.)
    const power::PowerFileContent once = power::decodePowerFile(power::encodePowerFile(content));
    const QByteArray again = power::encodePowerFile(once);
    if (!again.startsWith("KVT-Leistungsvergleich\n") || !again.endsWith("\nDateiende\n"))
        std::abort();
    const power::PowerFileContent twice = power::decodePowerFile(again);
    if (!(twice.parameters == once.parameters) || !(twice.options == once.options) ||
        !(twice.samples == once.samples) || !(twice.curve == once.curve))
        std::abort();
    return 0;
}
