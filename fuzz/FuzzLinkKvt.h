// The in-memory KVT of the link fuzz target: a fake clock, a serial line that answers every
// command letter with bytes taken from the fuzz input, and dialogs that answer from it too.
// Every reply sent is recorded with what kind it was, so the target can say what the link must
// have made of it.
#pragma once

#include "FuzzCheck.h"
#include "app/core/Dialogs.h"
#include "link/LinkClock.h"
#include "link/SerialPort.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <memory>
#include <vector>

namespace fuzzlink {

class FakeClock final : public devlink::LinkClock {
public:
    qint64 nowMs() const override { return m_now; }
    void sleepMs(int ms) override { m_now += std::max(ms, 0); }
    void advance(qint64 ms) { m_now += ms; }

private:
    qint64 m_now = 1'000'000;
};

enum class Kind {
    Right,        // the right letter and length in one piece
    WrongLetter,  // the right length in one piece, another first byte
    WrongLength,  // the right letter, another length, in one piece
    Silent,       // nothing
    Split,        // the right reply in two pieces at two times
    Stray,        // a few stray bytes, then the right reply
};

// One command letter the link sent and what the KVT answered.
struct Sent {
    char letter = 0;
    Kind kind = Kind::Silent;
    bool clean = false;  // nothing else was waiting or on its way when the letter went out
    int length = 0;      // reply bytes, letter included
    int fullLength = 0;  // what a right reply holds
    qint64 delay = 0;    // from the letter to the (last) reply byte
    QByteArray payload;  // a right reply's bytes after the letter

    bool rightInTime(qint64 window) const
    {
        return clean && kind == Kind::Right && delay <= window;
    }
    bool wrongLetterInTime(qint64 window) const
    {
        return clean && kind == Kind::WrongLetter && delay <= window;
    }
    // A reply no wait of window ms can take for the right one.
    bool wrongClean(qint64 window) const
    {
        if (!clean)
            return false;
        return kind == Kind::WrongLetter || kind == Kind::WrongLength || kind == Kind::Silent ||
               (kind == Kind::Right && delay > window);
    }
};

// The reply length of each command letter the link waits for, letter included; 0 for others.
inline int replyLength(char letter)
{
    switch (letter) {
    case 'I': return 24;
    case 'D': return 45;
    case 'G': return 307;
    case 'A': return 7;
    case 'P': return 36;
    case 'L': return 579;
    case 'B': return 920;
    default: return 0;
    }
}

class KvtLine final {
public:
    KvtLine(FakeClock& clock, FuzzedDataProvider& in) : m_clock(clock), m_in(in) {}

    bool open = false;
    bool unplugged = false;
    bool openFails = false;
    QByteArray input;
    std::deque<std::pair<qint64, QByteArray>> scheduled;  // (clock time, bytes)
    std::vector<Sent> sent;
    qint64 waitedSinceWrite = 0;
    int waitsSinceWrite = 0;

    void deliverDue()
    {
        while (!scheduled.empty() && scheduled.front().first <= m_clock.nowMs()) {
            input += scheduled.front().second;
            scheduled.pop_front();
        }
    }

    void written(const QByteArray& bytes)
    {
        waitedSinceWrite = 0;
        waitsSinceWrite = 0;
        for (char c : bytes)
            if (replyLength(c) > 0)
                answer(c);
    }

    void waited(qint64 ms)
    {
        // No wait of the link outlasts its 200 ms; the setup read waits twice after one "L".
        waitedSinceWrite += ms;
        FUZZ_CHECK(waitedSinceWrite <= 2 * 201);
        FUZZ_CHECK(++waitsSinceWrite <= 10000);
    }

    FakeClock& clock() { return m_clock; }

private:
    void schedule(qint64 delay, const QByteArray& bytes)
    {
        const qint64 at = m_clock.nowMs() + delay;
        auto pos = std::upper_bound(scheduled.begin(), scheduled.end(), at,
                                    [](qint64 t, const auto& entry) { return t < entry.first; });
        scheduled.insert(pos, {at, bytes});
    }

    // length bytes from the input, or a pattern when the input says so (large replies would
    // otherwise eat the script), zeros once the input ends.
    QByteArray bytes(int length)
    {
        QByteArray out;
        if (m_in.ConsumeBool()) {
            const std::vector<char> taken = m_in.ConsumeBytes<char>(size_t(length));
            out = QByteArray(taken.data(), qsizetype(taken.size()));
        } else {
            const quint8 start = m_in.ConsumeIntegral<quint8>();
            const quint8 step = m_in.ConsumeIntegral<quint8>();
            for (int i = 0; i < length; ++i)
                out.append(char(quint8(start + i * step)));
        }
        out.resize(length, '\0');
        return out;
    }

    qint64 delay() { return m_in.ConsumeIntegralInRange<qint64>(0, 500); }

    void answer(char letter)
    {
        Sent s;
        s.letter = letter;
        s.clean = input.isEmpty() && scheduled.empty();
        s.fullLength = replyLength(letter);
        const char right = char(letter - 'A' + 'a');
        const int kinds = 6;
        s.kind = Kind(m_in.ConsumeIntegral<quint8>() % kinds);
        // Mostly right replies, so the link gets far.
        if (m_in.ConsumeBool())
            s.kind = Kind::Right;
        QByteArray reply;
        switch (s.kind) {
        case Kind::Right:
        case Kind::Split:
        case Kind::Stray:
            s.payload = bytes(s.fullLength - 1);
            reply = right + s.payload;
            break;
        case Kind::WrongLetter: {
            char other = char(m_in.ConsumeIntegral<quint8>());
            if (other == right)
                other = char(other ^ 0x20);
            reply = other + bytes(s.fullLength - 1);
            break;
        }
        case Kind::WrongLength: {
            int length = m_in.ConsumeIntegralInRange(0, 2 * s.fullLength);
            if (length == s.fullLength)
                ++length;
            reply = length > 0 ? right + bytes(length - 1) : QByteArray();
            break;
        }
        case Kind::Silent: break;
        }
        s.length = int(reply.size());
        if (s.kind == Kind::Split) {
            const qsizetype cut = m_in.ConsumeIntegralInRange<qsizetype>(0, reply.size());
            const qint64 first = delay();
            s.delay = std::max(first, delay());
            schedule(first, reply.left(cut));
            schedule(s.delay, reply.mid(cut));
        } else if (s.kind == Kind::Stray) {
            const int count = m_in.ConsumeIntegralInRange(1, 8);
            schedule(delay(), bytes(count));
            s.delay = delay();
            schedule(s.delay, reply);
        } else if (!reply.isEmpty()) {
            s.delay = delay();
            schedule(s.delay, reply);
        }
        sent.push_back(s);
    }

    FakeClock& m_clock;
    FuzzedDataProvider& m_in;
};

class KvtPort final : public devlink::SerialPort {
public:
    explicit KvtPort(std::shared_ptr<KvtLine> line) : m_line(std::move(line)) {}

    bool open(const QString&, int) override
    {
        if (m_line->unplugged || m_line->openFails)
            return false;
        // Opening discards whatever was pending.
        m_line->input.clear();
        m_line->scheduled.clear();
        m_line->open = true;
        return true;
    }
    void close() override
    {
        m_line->open = false;
        m_line->input.clear();
        m_line->scheduled.clear();
    }
    bool isOpen() const override { return m_line->open; }
    bool failed() const override { return m_line->open && m_line->unplugged; }
    int bytesWaiting() override
    {
        if (!usable())
            return 0;
        m_line->deliverDue();
        return int(m_line->input.size());
    }
    int bytesToWrite() override { return 0; }
    int read(quint8* buffer, int count) override
    {
        if (!usable() || count <= 0)
            return 0;
        m_line->deliverDue();
        const int n = int(std::min<qsizetype>(count, m_line->input.size()));
        std::copy_n(m_line->input.constData(), n, reinterpret_cast<char*>(buffer));
        m_line->input.remove(0, n);
        return n;
    }
    int write(const quint8* buffer, int count) override
    {
        if (!usable() || count <= 0)
            return 0;
        m_line->written(QByteArray(reinterpret_cast<const char*>(buffer), count));
        return count;
    }
    bool waitForInput(int timeoutMs) override
    {
        if (!usable())
            return false;
        const qsizetype before = m_line->input.size();
        m_line->deliverDue();
        if (m_line->input.size() > before)
            return true;
        // Sleep until the next scheduled bytes or the time-out, whichever comes first.
        FakeClock& clock = m_line->clock();
        qint64 wake = clock.nowMs() + std::max(timeoutMs, 0);
        if (!m_line->scheduled.empty())
            wake = std::min(wake, m_line->scheduled.front().first);
        const qint64 step = std::max<qint64>(wake - clock.nowMs(), 0);
        m_line->waited(step);
        clock.advance(step);
        m_line->deliverDue();
        return m_line->input.size() > before;
    }

    static devlink::PortFactory factory(std::shared_ptr<KvtLine> line)
    {
        return [line] { return std::make_unique<KvtPort>(line); };
    }

private:
    bool usable() const { return m_line->open && !m_line->unplugged; }
    std::shared_ptr<KvtLine> m_line;
};

// Ja or Nein from the input; every other dialog is cancelled.
class AnsweringDialogs final : public app::Dialogs {
public:
    explicit AnsweringDialogs(FuzzedDataProvider& in) : m_in(in) {}
    void message(const QString&, const QString&) override {}
    bool question(const QString&, const QString&) override { return m_in.ConsumeBool(); }
    std::optional<QString> input(const QString&, const QString&, const QString&, bool) override
    {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    bool print(const QString&, const std::function<void(QPagedPaintDevice&)>&) override
    {
        return false;
    }

private:
    FuzzedDataProvider& m_in;
};

}  // namespace fuzzlink
