// libFuzzer target: the real DeviceLink against an in-memory KVT whose every reply is taken
// from the fuzz input. The input is a script: each step ticks "COM", runs connectStep or
// pollCycle (with "G", "A", "P" wanted or not), reads the setup ("L") or a lambda table ("B"),
// or unplugs the adapter; every command letter the link sends is answered with bytes from the
// input: a right reply, a wrong letter, a wrong length, silence, a late or split reply, or
// stray bytes. A fake clock runs every wait, so no real time passes.
//
// Checked after every step (abort on violation): the live record holds finite values in the
// ranges of their bytes; a shown identity has its texts at their lengths; after connectStep
// the link is identified only on an open port, and an unidentified link shows no identity; a
// clean right reply is read as exactly the bytes sent and a clean wrong one is refused (no
// identification, no published value, no replaced setup, no lambda table); no wait lasts
// longer than its 200 ms.
#include "FuzzCheck.h"
#include "FuzzLinkKvt.h"

#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "lambda/LambdaTable.h"
#include "link/DeviceLink.h"
#include "link/ReplyCodec.h"
#include "link/SetupTransfer.h"
#include "setup/SetupBlock.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using fuzzlink::Sent;

// How often each expectation on a reply was checked, printed at exit when FUZZ_LINK_STATS is
// set: shows that a corpus reaches every one of them.
struct Reached {
    long identified = 0, identifyRefused = 0, live = 0, liveRefused = 0, map = 0, mapRefused = 0,
         volts = 0, voltsRefused = 0, expert = 0, expertRefused = 0, setup = 0, setupRefused = 0,
         lambda = 0, lambdaRefused = 0;
    ~Reached()
    {
        if (!std::getenv("FUZZ_LINK_STATS"))
            return;
        std::fprintf(stderr,
                     "right/refused: I %ld/%ld D %ld/%ld G %ld/%ld A %ld/%ld P %ld/%ld "
                     "L %ld/%ld B %ld/%ld\n",
                     identified, identifyRefused, live, liveRefused, map, mapRefused, volts,
                     voltsRefused, expert, expertRefused, setup, setupRefused, lambda,
                     lambdaRefused);
    }
} reached;

#define FUZZ_EXPECT(counter, condition) \
    do {                                \
        FUZZ_CHECK(condition);          \
        ++reached.counter;              \
    } while (0)

struct View final : devlink::LinkView {
    bool com = false;
    std::optional<devlink::DeviceIdentity> shown;
    bool comTicked() const override { return com; }
    QString selectedPortText() const override { return QStringLiteral("/dev/ttyUSB0"); }
    void untickCom() override { com = false; }
    void identityShown(const devlink::DeviceIdentity& id) override { shown = id; }
    void identityCleared() override { shown.reset(); }
};

struct Published {
    std::vector<devlink::LiveRecord> live;
    std::vector<devlink::LearnedMap> maps;
    std::vector<devlink::SensorVoltages> volts;
    std::vector<QByteArray> expert;
    bool wantMap = false, wantVolts = false, wantExpert = false;
};

void checkLive(const devlink::LiveRecord& r)
{
    FUZZ_CHECK(r.rpm >= 0 && r.rpm <= 0xFFFF && r.rpmForMaps >= 0 && r.rpmForMaps <= 16000);
    for (double v : {r.engineTemp, r.airTemp})
        FUZZ_CHECK(std::isfinite(v) && v >= -20 && v <= 235);
    for (double mv : r.lambda)
        FUZZ_CHECK(std::isfinite(mv) && mv >= 0 && mv <= 0xFFFF);
}

void checkState(const devlink::DeviceLink& link, const View& view, bool afterConnectStep,
                const fuzzlink::KvtLine& line)
{
    checkLive(link.liveRecord());
    const devlink::DeviceIdentity& id = link.identity();
    if (link.identified())
        FUZZ_CHECK(id.deviceType.size() == 12 && id.hw.size() == 3 && id.sw.size() == 3 &&
                   id.bl.size() == 3);
    if (!afterConnectStep)
        return;
    // connectStep has settled every reply status: the lamp and the identity agree with it.
    FUZZ_CHECK(link.portOpen() == line.open);
    FUZZ_CHECK(!link.identified() || link.portOpen());
    if (!link.comSwitch())
        FUZZ_CHECK(!line.open && !link.identified());
    if (link.identified())
        FUZZ_CHECK(view.shown && *view.shown == id);
    else
        FUZZ_CHECK(id == devlink::DeviceIdentity{} && !view.shown);
}

// The identity a right "I" reply carries, read by hand.
devlink::DeviceIdentity identityOf(const QByteArray& payload)
{
    QString text;
    for (int i = 0; i < 21; ++i)
        text += QChar(char16_t(quint8(payload.at(i))));
    devlink::DeviceIdentity id{text.mid(0, 12), text.mid(12, 3), text.mid(15, 3), text.mid(18, 3),
                               quint16(quint8(payload.at(21)) * 256 + quint8(payload.at(22)))};
    return id;
}

// The replies sent for command letter since index from.
std::vector<const Sent*> sentSince(const fuzzlink::KvtLine& line, size_t from, char letter)
{
    std::vector<const Sent*> out;
    for (size_t i = from; i < line.sent.size(); ++i)
        if (line.sent[i].letter == letter)
            out.push_back(&line.sent[i]);
    return out;
}

void connectStep(devlink::DeviceLink& link, fuzzlink::KvtLine& line, const View& view,
                 bool readSetupAfterIdentification)
{
    const size_t from = line.sent.size();
    const bool wasIdentified = link.identified();
    link.connectStep();
    checkState(link, view, true, line);
    const auto sent = sentSince(line, from, 'I');
    FUZZ_CHECK(sent.size() <= 1);
    if (sent.empty()) {
        FUZZ_CHECK(!link.identified() || wasIdentified);
        return;
    }
    const Sent& i = *sent.front();
    // The reply to "I" decides alone unless the setup read after it answered as well.
    if (i.rightInTime(200) && !readSetupAfterIdentification)
        FUZZ_EXPECT(identified, link.identified() && link.identity() == identityOf(i.payload));
    if (i.wrongClean(200))
        FUZZ_EXPECT(identifyRefused, !link.identified());
}

void pollCycle(devlink::DeviceLink& link, fuzzlink::KvtLine& line, const View& view, Published& p)
{
    const size_t from = line.sent.size();
    const size_t live = p.live.size(), maps = p.maps.size(), volts = p.volts.size(),
                 expert = p.expert.size();
    const bool wasIdentified = link.identified();
    link.pollCycle();
    checkState(link, view, false, line);
    for (const auto& r : p.live)
        checkLive(r);
    for (const auto& v : p.volts)
        for (double x : v)
            FUZZ_CHECK(std::isfinite(x) && x >= 0 && x < 32);
    if (!wasIdentified) {
        FUZZ_CHECK(line.sent.size() == from);
        return;
    }
    for (const Sent* d : sentSince(line, from, 'D')) {
        if (d->rightInTime(200)) {
            FUZZ_EXPECT(live, p.live.size() == live + 1 &&
                                  p.live.back() == devlink::decodeLiveReply(d->payload));
        } else if (d->wrongClean(200)) {
            FUZZ_EXPECT(liveRefused, p.live.size() == live);
            if (d->wrongLetterInTime(200))
                FUZZ_CHECK(!link.identified());
        }
    }
    for (const Sent* g : sentSince(line, from, 'G')) {
        // "G" is read after a fixed 100 ms pause, without a wait.
        if (g->rightInTime(100))
            FUZZ_EXPECT(map, p.maps.size() == maps + 1 &&
                                 p.maps.back() == devlink::decodeLearnedMap(g->payload));
        else if (g->wrongClean(100) && !(g->kind == fuzzlink::Kind::WrongLength &&
                                         g->length > g->fullLength && g->delay <= 100))
            FUZZ_EXPECT(mapRefused, p.maps.size() == maps);
    }
    for (const Sent* a : sentSince(line, from, 'A')) {
        if (a->rightInTime(200))
            FUZZ_EXPECT(volts, p.volts.size() == volts + 1 &&
                                   p.volts.back() == devlink::decodeSensorVoltages(a->payload));
        else if (a->wrongClean(200))
            FUZZ_EXPECT(voltsRefused, p.volts.size() == volts);
    }
    for (const Sent* e : sentSince(line, from, 'P')) {
        if (e->rightInTime(200))
            FUZZ_EXPECT(expert, p.expert.size() == expert + 1 && p.expert.back() == e->payload);
        else if (e->wrongClean(200))
            FUZZ_EXPECT(expertRefused, p.expert.size() == expert);
    }
    // What was not asked for is not sent.
    if (!p.wantMap)
        FUZZ_CHECK(sentSince(line, from, 'G').empty());
    if (!p.wantVolts)
        FUZZ_CHECK(sentSince(line, from, 'A').empty());
    if (!p.wantExpert)
        FUZZ_CHECK(sentSince(line, from, 'P').empty());
}

void readSetup(devlink::SetupTransfer& transfer, devlink::DeviceLink& link, fuzzlink::KvtLine& line,
               const View& view, setup::SetupRecord& record)
{
    const size_t from = line.sent.size();
    const setup::SetupRecord before = record;
    const bool wasIdentified = link.identified();
    const auto outcome = transfer.readSetup();
    checkState(link, view, false, line);
    using Outcome = devlink::SetupTransfer::ReadOutcome;
    if (!wasIdentified) {
        FUZZ_CHECK(outcome == Outcome::NotIdentified && line.sent.size() == from);
        return;
    }
    if (outcome != Outcome::Replaced)
        FUZZ_CHECK(record == before);
    const auto sent = sentSince(line, from, 'L');
    // Nothing goes out on an unplugged adapter, and nothing is read.
    FUZZ_CHECK(sent.size() <= 1);
    if (sent.empty()) {
        FUZZ_CHECK(outcome != Outcome::Replaced);
        return;
    }
    const Sent& l = *sent.front();
    if (l.rightInTime(200))
        FUZZ_EXPECT(setup, outcome == Outcome::Replaced &&
                               record == setup::decodeSetupBlock(QByteArrayView(l.payload)));
    // After a time-out and "Trotzdem einlesen?" answered Ja the read waits once more.
    else if (l.wrongClean(2 * 201))
        FUZZ_EXPECT(setupRefused, outcome != Outcome::Replaced);
}

void readLambda(devlink::DeviceLink& link, fuzzlink::KvtLine& line, const View& view,
                bool fromEeprom)
{
    const size_t from = line.sent.size();
    const std::optional<QByteArray> reply = link.commands().readLambdaTable(fromEeprom);
    checkState(link, view, false, line);
    if (reply) {
        FUZZ_CHECK(reply->size() == lambda::kReplyPayload);
        lambda::LambdaTable table;
        bool logging = false;
        FUZZ_CHECK(lambda::decodeLambdaReply(*reply, table, logging));
        FUZZ_CHECK(lambda::encodeLambdaReply(table, logging).mid(1) == reply->mid(1));
    }
    const auto sent = sentSince(line, from, 'B');
    if (sent.empty()) {
        FUZZ_CHECK(!reply);
        return;
    }
    const Sent& b = *sent.front();
    // The reply is awaited after a 200 ms pause, so it may take 400 ms in all.
    if (b.rightInTime(400))
        FUZZ_EXPECT(lambda, reply && *reply == b.payload);
    else if (b.wrongClean(400))
        FUZZ_EXPECT(lambdaRefused, !reply);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    fuzzlink::FakeClock clock;
    auto line = std::make_shared<fuzzlink::KvtLine>(clock, in);
    app::MessageLog log;
    app::ProgramSettings settings;
    View view;
    Published p;
    devlink::DeviceLink link(log, fuzzlink::KvtPort::factory(line), clock);
    link.setView(&view);
    link.setSetupReadWanted([&settings] { return settings.readSetupAfterIdentification; });
    using devlink::OnDemand;
    link.feed().onLiveRecord([&](const devlink::LiveRecord& r) { p.live.push_back(r); });
    link.feed().onLearnedMap([&](const devlink::LearnedMap& m) { p.maps.push_back(m); });
    link.feed().onSensorVoltages([&](const devlink::SensorVoltages& v) { p.volts.push_back(v); });
    link.feed().onExpertValues([&](const QByteArray& b) { p.expert.push_back(b); });
    link.feed().want(OnDemand::LearnedMap, [&] { return p.wantMap; });
    link.feed().want(OnDemand::SensorVoltages, [&] { return p.wantVolts; });
    link.feed().want(OnDemand::ExpertValues, [&] { return p.wantExpert; });

    fuzzlink::AnsweringDialogs dialogs(in);
    setup::SetupRecord record;
    devlink::SetupTransfer transfer(link, log, dialogs, record);
    transfer.readAfterIdentification();

    // Each step costs at least one byte, so the script ends with the input.
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegral<quint8>() % 8) {
        case 0: view.com = !view.com; [[fallthrough]];
        case 1: connectStep(link, *line, view, settings.readSetupAfterIdentification); break;
        case 2: {
            const quint8 wants = in.ConsumeIntegral<quint8>();
            p.wantMap = wants & 1;
            p.wantVolts = wants & 2;
            p.wantExpert = wants & 4;
            pollCycle(link, *line, view, p);
            break;
        }
        case 3: readSetup(transfer, link, *line, view, record); break;
        case 4: readLambda(link, *line, view, in.ConsumeBool()); break;
        case 5: line->unplugged = !line->unplugged; break;
        case 6: line->openFails = !line->openFails; break;
        case 7:
            settings.readSetupAfterIdentification = !settings.readSetupAfterIdentification;
            break;
        }
    }
    return 0;
}
