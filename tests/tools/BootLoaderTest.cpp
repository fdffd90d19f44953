// The simulated boot loader: frame checks, a repeated frame, the image file, the faults and
// the restart with the new firmware's version.
#include "BootCommands.h"
#include "BootLoader.h"
#include "KvtSimulator.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvtsim;

namespace {

QByteArray frame(int n, char fill)
{
    QByteArray f;
    f.append(char(0x01));
    f.append(char(n & 0xFF));
    f.append(char((n + 1) & 0xFF));
    f += QByteArray(128, fill);
    quint8 sum = 0;
    for (char c : f)
        sum = quint8(sum + quint8(c));
    f.append(char(sum));
    return f;
}

QByteArray feed(BootLoader& boot, const QByteArray& bytes)
{
    QByteArray out;
    for (char c : bytes)
        out += boot.receive(quint8(c));
    return out;
}

const QByteArray ack(1, char(0x06));
const QByteArray nak(1, char(0x15));

}  // namespace

TEST(BootLoader, ChecksNumbersAndAcceptsARepeatedFrame)
{
    BootLoader boot;
    boot.begin();
    EXPECT_EQ(feed(boot, QByteArray(1, char(0x7B))), QByteArray(1, char(0x7B)));
    EXPECT_EQ(feed(boot, QByteArray(1, '\0')), nak);
    EXPECT_EQ(feed(boot, frame(2, 'a')), nak);  // out of order
    EXPECT_EQ(feed(boot, frame(1, 'a')), ack);
    EXPECT_EQ(feed(boot, frame(1, 'a')), ack);  // its ACK was lost: kept once
    QByteArray wrongPair = frame(2, 'b');
    wrongPair[2] = 9;
    EXPECT_EQ(feed(boot, wrongPair), nak);
    EXPECT_EQ(feed(boot, frame(2, 'b')), ack);
    EXPECT_EQ(boot.image(), QByteArray(128, 'a') + QByteArray(128, 'b'));
    EXPECT_EQ(boot.framesRefused(), 2);
}

TEST(BootLoader, AttentionAndStartInTheMiddleBeginTheTransferAnew)
{
    BootLoader boot;
    boot.begin();
    feed(boot, QByteArray::fromHex("7b00") + frame(1, 'a') + frame(2, 'b'));
    // The link dropped with a frame half sent; afterwards the program looks for the boot
    // loader, which answers, and starts over.
    feed(boot, frame(3, 'c').left(40));
    boot.lineDropped();
    EXPECT_EQ(feed(boot, "I"), QByteArray());
    EXPECT_EQ(feed(boot, QByteArray(1, char(0x7B))), QByteArray(1, char(0x7B)));
    EXPECT_EQ(feed(boot, QByteArray(1, '\0')), nak);
    EXPECT_EQ(feed(boot, frame(3, 'c')), nak);
    EXPECT_EQ(feed(boot, frame(1, 'x')), ack);
    EXPECT_EQ(boot.image(), QByteArray(128, 'x'));
    EXPECT_TRUE(boot.active());
}

TEST(BootLoader, Faults)
{
    struct Case {
        const char* text;
        QByteArray answers;  // to 7B, 00 and frames 1, 2
        int accepted;
        bool drop;
    };
    const Case cases[] = {
        {"nak:2", QByteArray(1, char(0x7B)) + nak + ack + nak, 1, false},
        {"checksum", QByteArray(1, char(0x7B)) + nak + nak + nak, 0, false},
        {"silence", QByteArray(), 2, false},  // it takes the frames, answers nothing
        {"drop:1", QByteArray(1, char(0x7B)) + nak + ack + ack, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        BootFaults faults;
        ASSERT_TRUE(parseBootFault(QString::fromLatin1(c.text), &faults));
        BootLoader boot;
        boot.setFaults(faults);
        boot.begin();
        const QByteArray out =
            feed(boot, QByteArray::fromHex("7b00") + frame(1, 'x') + frame(2, 'y'));
        EXPECT_EQ(out, c.answers);
        EXPECT_EQ(boot.framesAccepted(), c.accepted);
        EXPECT_EQ(boot.takeDropRequest(), c.drop);
        EXPECT_FALSE(boot.takeDropRequest());
    }
    BootFaults faults;
    EXPECT_FALSE(parseBootFault(QStringLiteral("nak:0"), &faults));
    EXPECT_FALSE(parseBootFault(QStringLiteral("loud"), &faults));
}

TEST(BootLoader, CompletedImageIsWrittenAndTheKvtRestartsWithItsVersion)
{
    QTemporaryDir dir;
    KvtSimulator sim;
    const QString path = dir.filePath(QStringLiteral("received.bin"));
    sim.bootLoader().setImageFile(path);
    QByteArray data(128, 'z');
    data.replace(10, 7, "SWV=6.1");
    QByteArray f = frame(1, 'z');
    f.replace(3, 128, data);
    quint8 sum = 0;
    for (int i = 0; i < 131; ++i)
        sum = quint8(sum + quint8(f.at(i)));
    f[131] = char(sum);
    sim.receive("U", 0);
    sim.receive(QByteArray::fromHex("7b00") + f + QByteArray(1, char(0x04)), 0);
    EXPECT_FALSE(sim.inBootLoader());
    EXPECT_EQ(sim.softwareVersion(), QByteArray("6.1"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), data);

    // A cancelled transfer writes nothing and keeps the version.
    QFile::remove(path);
    sim.receive("U", 0);
    sim.receive(QByteArray::fromHex("7b00") + frame(1, 'q') + QByteArray(1, char(0x18)), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(sim.softwareVersion(), QByteArray("6.1"));
}
