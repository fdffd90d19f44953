// The settings file: its exact byte form, and reading missing, foreign and damaged files.
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "support/FakeDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using app::ProgramSettings;

// The layout written out by hand: version line, 40 window values, then the table's fields.
QByteArray handBuilt(const ProgramSettings& s)
{
    QByteArray b = "1.G\n";
    auto q = [&](qint64 v) {
        char x[8];
        qToLittleEndian(v, x);
        b.append(x, 8);
    };
    auto f = [&](float v) {
        char x[4];
        qToLittleEndian(v, x);
        b.append(x, 4);
    };
    for (const auto& g : s.windows) {
        q(g.x);
        q(g.y);
        q(g.width);
        q(g.height);
    }
    q(8000);
    q(1);
    f(800);
    f(600);
    f(400);
    f(200);
    q(0);
    q(0);
    q(500);
    q(100);
    q(3600);
    q(200);
    q(85);
    q(0);
    q(3);
    q(500);
    b.append("\n\0", 2);  // empty print text, UTF-16LE line
    b.append("\n");       // empty port name
    q(0);
    q(0);
    q(200);
    q(8000);
    q(250);
    q(70);
    q(85);
    q(8000);
    f(12.0f);
    f(3.5f);
    f(12.5f);
    q(1);
    q(1);
    q(1);
    q(1000);
    return b;
}

TEST(SettingsCodec, DefaultsEncodeToTheDocumentedBytes)
{
    const ProgramSettings s;
    const QByteArray bytes = app::encodeSettings(s);
    EXPECT_EQ(bytes, handBuilt(s));
    // version line, 40 window values, 24 integers, 7 floats, two empty text lines
    EXPECT_EQ(bytes.size(), 4 + 40 * 8 + 24 * 8 + 7 * 4 + 2 + 1);
}

TEST(SettingsCodec, RoundTripKeepsEveryFieldAndTheBytes)
{
    ProgramSettings s;
    s.windows[3] = {11, 22, 333, 444};
    s.rpmWarning = 9000;
    s.lambdaRich = 650;
    s.comTimerPeriod = 5;
    s.messageFile = true;
    s.printoutText = QString::fromUtf8("Prüfstand Ü-äß €");
    s.portName = "/dev/tty.kvtsim";
    s.coilInductance = 7.25f;
    s.showLambda2 = false;
    s.sensorErrorMinSpeed = 16000;
    const QByteArray bytes = app::encodeSettings(s);

    ProgramSettings back;
    ASSERT_EQ(app::decodeSettings(bytes, back).status, app::SettingsDecode::Ok);
    EXPECT_EQ(back, s);
    EXPECT_EQ(app::encodeSettings(back), bytes);
}

TEST(SettingsCodec, OtherVersionIsIgnoredEntirely)
{
    ProgramSettings s;
    s.windows[0] = {1, 2, 300, 400};
    QByteArray bytes = app::encodeSettings(s);
    bytes.replace(0, 3, "1.F");
    ProgramSettings back;
    const auto r = app::decodeSettings(bytes, back);
    EXPECT_EQ(r.status, app::SettingsDecode::WrongVersion);
    EXPECT_EQ(r.versionLine, "1.F");
    EXPECT_EQ(back, ProgramSettings{});
}

TEST(SettingsCodec, TruncatedFileKeepsDefaultsForMissingFields)
{
    ProgramSettings s;
    s.rpmWarning = 12000;
    s.comTimerPeriod = 50;
    s.sensorErrorMinSpeed = 2000;
    const QByteArray full = app::encodeSettings(s);
    // Cut inside the COM timer field: fields before it are taken, the cut one and later not.
    const int comOffset = 4 + 320 + 2 * 8 + 4 * 4 + 2 * 8 + 8;
    for (int cut : {0, 3, 4, 100, comOffset + 3, int(full.size()) - 1}) {
        ProgramSettings back;
        const auto r = app::decodeSettings(full.left(cut), back);
        if (cut < 4) {
            EXPECT_EQ(r.status, app::SettingsDecode::WrongVersion) << cut;
            continue;
        }
        EXPECT_EQ(r.status, app::SettingsDecode::Truncated) << cut;
        EXPECT_EQ(back.sensorErrorMinSpeed, 1000) << cut;
        if (cut == comOffset + 3) {
            EXPECT_EQ(back.rpmWarning, 12000);
            EXPECT_EQ(back.comTimerPeriod, 100);
        }
    }
}

TEST(SettingsCodec, GarbageValuesAreClampedToTheirRanges)
{
    ProgramSettings s;
    s.comTimerPeriod = -7;
    s.loggerPeriod = 99999;
    s.injectionWarnPercent = 3;
    s.lambdaRich = std::numeric_limits<float>::quiet_NaN();
    s.windows[0].width = 100000;
    s.loggerCapacity = -1;
    ProgramSettings back;
    app::decodeSettings(app::encodeSettings(s), back);
    EXPECT_EQ(back.comTimerPeriod, 5);
    EXPECT_EQ(back.loggerPeriod, 2000);
    EXPECT_EQ(back.injectionWarnPercent, 75);
    EXPECT_EQ(back.lambdaRich, 600.0f);
    EXPECT_EQ(back.windows[0].width, 830);
    EXPECT_EQ(back.loggerCapacity, 100);
}

TEST(SettingsStore, MissingFileShowsBoxAndLogsOnlyNotFound)
{
    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    QStringList shown;
    log.setStatusSink([&](const QString& t) { shown << t; });
    ProgramSettings s;
    s.rpmWarning = 4711;
    EXPECT_EQ(app::readSettingsFile(dir.path() + "/", s, dialogs, log),
              app::SettingsSource::Defaults);
    EXPECT_EQ(s, ProgramSettings{});
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, "Motrix");
    EXPECT_TRUE(dialogs.calls[0].text.startsWith(
        "Keine Einstellungsdatei im Programmverzeichnis gefunden."));
    EXPECT_EQ(
        shown,
        QStringList({"Einstellungsdatei nicht gefunden. Standardeinstellungen werden verwendet"}));
}

TEST(SettingsStore, ForeignVersionBoxNamesBothVersions)
{
    QTemporaryDir dir;
    QFile f(dir.path() + "/Motrix.cfg");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0.9\nrest");
    f.close();
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    ProgramSettings s;
    EXPECT_EQ(app::readSettingsFile(dir.path() + "/", s, dialogs, log),
              app::SettingsSource::Defaults);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text,
              QString::fromUtf8(
                  "Die Einstellungsdatei (für 0.9) im Programmverzeichnis\rpasst nicht zu "
                  "dieser Programmersion (Motrix1.G).\r\rStandardeinstellungen werden verwendet."));
    EXPECT_EQ(log.statusText(),
              "Einstellungsdfatei: falscher Typ. Standardeinstellungen werden verwendet");
}

TEST(SettingsStore, WriteIsAtomicAndReadable)
{
    QTemporaryDir dir;
    const QString d = dir.path() + "/";
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    ProgramSettings s;
    s.portName = "/dev/ttyUSB0";
    ASSERT_TRUE(app::writeSettingsFile(d, s, dialogs, log));
    EXPECT_EQ(log.statusText(), "Einstellungsdatei geschrieben");
    ProgramSettings back;
    EXPECT_EQ(app::readSettingsFile(d, back, dialogs, log), app::SettingsSource::File);
    EXPECT_EQ(back, s);
    EXPECT_TRUE(dialogs.calls.empty());
    // No temporary files are left beside it.
    EXPECT_EQ(QDir(d).entryList(QDir::Files | QDir::Hidden), QStringList({"Motrix.cfg"}));
}

TEST(SettingsStore, UnwritableFolderShowsInfoBoxAndKeepsOldFile)
{
    QTemporaryDir dir;
    const QString d = dir.path() + "/gone/";  // folder does not exist
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    EXPECT_FALSE(app::writeSettingsFile(d, ProgramSettings{}, dialogs, log));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, "Info");
    EXPECT_EQ(dialogs.calls[0].text,
              " Einstellungsdatei konnte im Programmverzeichnis nicht geschrieben werden.");
    EXPECT_EQ(log.statusText(), "Einstellungsdatei konnte nicht geschrieben werden");
}

}  // namespace
