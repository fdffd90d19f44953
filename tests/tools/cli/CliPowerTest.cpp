// motrix-cli power: showing a comparison file with its recomputed grid, printing the page to a
// PDF, and the exit status for unreadable files.
#include "PowerCommands.h"
#include "power/PowerCompute.h"
#include "power/PowerFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliPower : ::testing::Test {
    QTemporaryDir dir;
    QString out, err;

    QString file(const char* name, const power::PowerOptions& options, bool withGrid)
    {
        power::PowerFileContent c;
        c.info.description = QStringLiteral("Lauf B");
        c.options = options;
        for (int i = 0; i < 40; ++i)
            c.samples[i] = {100.0f * i, 3000.0f + 200 * i, 0, 0, 0};
        if (withGrid)
            c.curve[59] = {3000, 1, 2};
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(power::encodePowerFile(c));
        return path;
    }
    int run(const QStringList& args)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return cli::runPowerCommand(args, o, e);
    }
};

}  // namespace

TEST_F(CliPower, ShowGivesStoredAndRecomputedGrids)
{
    const QString path = file("a.klv", {}, true);
    ASSERT_EQ(run({"power", "show", path, "--json"}), 0) << err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(o["comment"].toString(), QStringLiteral("Lauf B"));
    EXPECT_EQ(o["options"].toObject()["system"].toString(), QStringLiteral("rotatorisch"));
    EXPECT_EQ(o["samples"].toInt(), 40);
    EXPECT_EQ(o["storedGrid"].toArray().size(), 1);
    const QJsonArray computed = o["computedGrid"].toArray();
    power::PowerSamples s{};
    for (int i = 0; i < 40; ++i)
        s[i] = {100.0f * i, 3000.0f + 200 * i, 0, 0, 0};
    const power::Evaluation e = power::compute(s, {}, {});
    ASSERT_EQ(computed.size(),
              std::count_if(e.curve.begin(), e.curve.end(), [](auto& g) { return g.speed != 0; }));
    EXPECT_NEAR(computed[80][1].toDouble(), e.curve[80].torque, 1e-3);

    ASSERT_EQ(run({"power", "show", path}), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("Kommentar:    Lauf B")));
    EXPECT_TRUE(out.contains(QStringLiteral("Neu berechnet")));
}

TEST_F(CliPower, UnreadableFilesExitWith2)
{
    EXPECT_EQ(run({"power", "show", dir.filePath("missing.klv")}), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("missing.klv")));
    QFile f(dir.filePath("other.klv"));
    f.open(QIODevice::WriteOnly);
    f.write("not a power file\n");
    f.close();
    EXPECT_EQ(run({"power", "show", f.fileName()}), 2);
    EXPECT_EQ(run({"power", "print", f.fileName(), "-o", dir.filePath("x.pdf")}), 2);
    EXPECT_EQ(run({"power", "print", file("a.klv", {}, false)}), 2);  // no -o
}

TEST_F(CliPower, PrintWritesTheComparisonPage)
{
    power::PowerOptions din;
    din.din = true;
    const QString a = file("a.klv", {}, false);
    const QString b = file("b.klv", din, true);
    const QString pdf = dir.filePath("out.pdf");
    QProcess cli;
    cli.start(QStringLiteral(MOTRIX_CLI_PATH),
              {"power", "print", a, "--compare", b, "--text", "Team Nord", "-o", pdf});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {"-raw", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    EXPECT_TRUE(page.contains(QStringLiteral("--- Team Nord ---")));
    EXPECT_TRUE(page.contains(QStringLiteral("Datei:a.klv")));
    EXPECT_TRUE(page.contains(QStringLiteral("Datei:b.klv")));
    EXPECT_TRUE(page.contains(QStringLiteral("(DIN70200)")));
}
