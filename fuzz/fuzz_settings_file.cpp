// libFuzzer target: reading arbitrary bytes as the program's settings file "Motrix.cfg".
#include "FuzzCheck.h"
#include "app/core/ProgramSettings.h"
#include "app/core/SettingsCodec.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const app::ProgramSettings defaults;
    app::ProgramSettings s;
    const app::SettingsDecodeResult result = app::decodeSettings(bytes, s);

    // Only a file whose first line is this program's version is applied at all.
    const qsizetype lineEnd = bytes.indexOf('\n');
    const bool versionMatches =
        lineEnd >= 0 && QString::fromUtf8(bytes.left(lineEnd)) == app::versionText;
    FUZZ_CHECK(versionMatches == (result.status != app::SettingsDecode::WrongVersion));
    if (!versionMatches) {
        FUZZ_CHECK(s == defaults);
        return 0;
    }

    // Every value is within its range: limiting again changes nothing.
    app::ProgramSettings limited = s;
    app::clampSettings(limited);
    FUZZ_CHECK(limited == s);
    for (float v : {s.lambdaVeryRich, s.lambdaRich, s.lambdaLean, s.lambdaVeryLean, s.coilVoltage,
                    s.coilResistance, s.coilInductance})
        FUZZ_CHECK(std::isfinite(v));
    FUZZ_CHECK(s.printoutText.size() <= 100 && !s.portName.contains(QLatin1Char('\n')));

    // What was read is saved whole and reads back the same.
    app::ProgramSettings again;
    FUZZ_CHECK(app::decodeSettings(app::encodeSettings(s), again).status ==
               app::SettingsDecode::Ok);
    FUZZ_CHECK(again == s);
    return 0;
}
