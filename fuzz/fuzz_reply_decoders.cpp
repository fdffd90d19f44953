// libFuzzer target: the pure decoders of the KVT's replies ("I", "D", "G", "A", "P", "B") fed
// with arbitrary bytes after the reply letter, and the "D" decoder checked field by field
// against the simulator's encoder.
#include "FuzzCheck.h"
#include "LiveFrame.h"
#include "lambda/LambdaTable.h"
#include "link/LiveRecord.h"
#include "link/ReplyCodec.h"
#include "setup/ExpertValues.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

int byteAt(const QByteArray& b, int at)
{
    return quint8(b.at(at));
}

void checkIdentity(const QByteArray& raw)
{
    const auto id = devlink::decodeIdentityReply(raw);
    FUZZ_CHECK(id.has_value() == (raw.size() >= devlink::identityReplyLength - 1));
    if (!id)
        return;
    FUZZ_CHECK(id->deviceType.size() == 12 && id->hw.size() == 3 && id->sw.size() == 3 &&
               id->bl.size() == 3);
    // One character per byte, whatever the byte.
    const QString text = id->deviceType + id->hw + id->sw + id->bl;
    for (int i = 0; i < 21; ++i)
        FUZZ_CHECK(text.at(i).unicode() == byteAt(raw, i));
    FUZZ_CHECK(id->restartCount == byteAt(raw, 21) * 256 + byteAt(raw, 22));
}

void checkLive(const QByteArray& raw)
{
    const auto r = devlink::decodeLiveReply(raw);
    FUZZ_CHECK(r.has_value() == (raw.size() >= devlink::liveReplyLength - 1));
    if (!r)
        return;
    // Only the 44 bytes of the reply count; stray bytes after them change nothing.
    FUZZ_CHECK(devlink::decodeLiveReply(raw.left(devlink::liveReplyLength - 1)) == r);
    FUZZ_CHECK(r->rpm >= 0 && r->rpm <= 0xFFFF && r->rpmForMaps == std::min(r->rpm, 16000));
    for (double v : {r->engineTemp, r->airTemp})
        FUZZ_CHECK(std::isfinite(v) && v >= -20 && v <= 235);
    for (double mv : r->lambda)
        FUZZ_CHECK(std::isfinite(mv) && mv >= 0 && mv <= 0xFFFF);
}

// The decoder reads every field where the simulated KVT writes it.
void checkLiveAgainstEncoder(FuzzedDataProvider& in)
{
    kvtsim::LiveFrame f;
    f.rpm = in.ConsumeIntegral<quint16>();
    f.reserved = in.ConsumeIntegral<quint16>();
    for (quint8* b : {&f.throttle,
                      &f.engineTemp,
                      &f.airTemp,
                      &f.ignitionBase,
                      &f.ignitionAngle,
                      &f.airTempCorrection,
                      &f.engineTempCorrection,
                      &f.output1,
                      &f.output2,
                      &f.input1,
                      &f.input2,
                      &f.input3,
                      &f.ignitionMode,
                      &f.signalDetected,
                      &f.teethSeen,
                      &f.teethPerRevolution,
                      &f.statusFlag1,
                      &f.statusFlag2,
                      &f.statusFlag3,
                      &f.cpuTemperature,
                      &f.emergencyProgram,
                      &f.statusFlag4})
        *b = in.ConsumeIntegral<quint8>();
    for (quint16* w : {&f.injectionBase, &f.injectionTime, &f.lambda[0], &f.lambda[1], &f.lambda[2],
                       &f.toothPeriod, &f.gapPeriod})
        *w = in.ConsumeIntegral<quint16>();
    f.timeStamp = in.ConsumeIntegral<quint32>();
    const QByteArray reply = f.encode();
    FUZZ_CHECK(reply.size() == devlink::liveReplyLength && reply.at(0) == 'd');
    const auto r = devlink::decodeLiveReply(reply.mid(1));
    FUZZ_CHECK(r.has_value());
    FUZZ_CHECK(r->rpm == f.rpm && r->throttle == f.throttle && r->engineTemp == f.engineTemp - 20 &&
               r->airTemp == f.airTemp - 20 && r->ignitionBase == f.ignitionBase &&
               r->ignitionAngle == f.ignitionAngle && r->injectionBase == f.injectionBase &&
               r->airTempCorrection == f.airTempCorrection &&
               r->engineTempCorrection == f.engineTempCorrection &&
               r->injectionTime == f.injectionTime && r->output1 == f.output1 &&
               r->output2 == f.output2 && r->input1 == f.input1 && r->input2 == f.input2 &&
               r->input3 == f.input3 && r->ignitionMode == f.ignitionMode &&
               r->signalDetected == f.signalDetected && r->teethSeen == f.teethSeen &&
               r->teethPerRevolution == f.teethPerRevolution && r->toothPeriod == f.toothPeriod &&
               r->gapPeriod == f.gapPeriod && r->timeStamp == f.timeStamp &&
               r->statusFlag1 == f.statusFlag1 && r->statusFlag2 == f.statusFlag2 &&
               r->statusFlag3 == f.statusFlag3 && r->cpuTemperature == f.cpuTemperature &&
               r->emergencyProgram == f.emergencyProgram && r->statusFlag4 == f.statusFlag4);
    for (int i = 0; i < 3; ++i)
        FUZZ_CHECK(r->lambda[i] == f.lambda[i]);
}

void checkLearnedMap(const QByteArray& raw)
{
    const auto map = devlink::decodeLearnedMap(raw);
    FUZZ_CHECK(map.has_value() == (raw.size() >= devlink::learnedMapBytes));
    if (!map)
        return;
    // Cell (throttle row, speed column) is the word at 34 bytes a row, low byte first.
    for (int row = 0; row < 9; ++row)
        for (int column = 0; column < 17; ++column) {
            const int at = row * 34 + column * 2;
            FUZZ_CHECK((*map)[row * 17 + column] == byteAt(raw, at) + 256 * byteAt(raw, at + 1));
        }
}

void checkSensorVoltages(const QByteArray& raw)
{
    const auto volts = devlink::decodeSensorVoltages(raw);
    FUZZ_CHECK(volts.has_value() == (raw.size() >= devlink::sensorReplyLength - 1));
    if (!volts)
        return;
    for (int i = 0; i < 3; ++i) {
        const double v = (*volts)[i];
        FUZZ_CHECK(std::isfinite(v) && v >= 0 &&
                   v * 2048 == byteAt(raw, 2 * i) * 256 + byteAt(raw, 2 * i + 1));
    }
}

void checkExpert(const QByteArray& raw, FuzzedDataProvider& in)
{
    const auto r = setup::decodeExpertReply(raw);
    FUZZ_CHECK(r.has_value() == (raw.size() >= setup::expertReplyLength - 1));
    if (!r)
        return;
    FUZZ_CHECK(r->timerDiffRaw >= 0 && r->timerDiffRaw <= 0xFFFF);
    FUZZ_CHECK(r->timerDiff ==
               (r->timerDiffRaw >= 32768 ? r->timerDiffRaw - 65536 : r->timerDiffRaw));
    FUZZ_CHECK(r->calibrationByte >= 0 && r->calibrationByte <= 255);
    // The derived values for any speed and setup bytes the windows may pass.
    const int rpmForMaps = in.ConsumeIntegralInRange(0, 16000);
    const int quickStart = in.ConsumeIntegral<quint8>();
    const int coilCharge = in.ConsumeIntegral<quint8>();
    const setup::ExpertDerived d =
        setup::deriveExpertValues(*r, rpmForMaps, quickStart, coilCharge);
    FUZZ_CHECK(std::isfinite(d.timerDiffAngle));
    for (int i = 0; i < 3; ++i)
        FUZZ_CHECK(d.injectionPercent[i] >= 0 && d.chargeUs[i] >= 0 && d.chargePercent[i] >= 0);
}

void checkLambda(const QByteArray& raw)
{
    lambda::LambdaTable table;
    table.set(1, 1, 1, -1);  // not a value the decoder can write
    const lambda::LambdaTable before = table;
    bool logging = true;  // the flag a failed decode must leave as well
    const bool ok = lambda::decodeLambdaReply(raw, table, logging);
    FUZZ_CHECK(ok == (raw.size() == lambda::kReplyPayload));
    if (!ok) {
        FUZZ_CHECK(table == before && logging);
        return;
    }
    FUZZ_CHECK(logging == (raw.at(0) != 0));
    // Every value goes back where it came from.
    FUZZ_CHECK(lambda::encodeLambdaReply(table, logging).mid(1) == raw.mid(1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkIdentity(raw);
    checkLive(raw);
    checkLearnedMap(raw);
    checkSensorVoltages(raw);
    checkLambda(raw);
    FuzzedDataProvider in(data, size);
    checkExpert(raw, in);
    checkLiveAgainstEncoder(in);
    return 0;
}
