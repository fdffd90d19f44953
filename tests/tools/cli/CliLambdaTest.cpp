// motrix-cli lambda show on a lambda log written by the program's own encoder.
#include "LambdaCommands.h"
#include "lambda/KllFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun run(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = cli::runLambdaCommand(args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

TEST(CliLambda, ShowsTablesAndClassCounts)
{
    QTemporaryDir dir;
    lambda::KllDocument doc;
    doc.comment = "Lauf";
    doc.table.set(1, 9, 1, 850);   // very rich, top-left of probe 1
    doc.table.set(2, 1, 1, 200);   // very lean on the threshold
    doc.table.set(3, 1, 1, 2500);  // outside every class
    const QString path = dir.filePath("a.kll");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lambda::encodeKll(doc, "a.kll"));
    f.close();

    const CliRun text = run({"lambda", "show", path});
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.contains(" 100 % 0.85 0.00")) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("Kommentar: Lauf"));

    const CliRun json = run({"lambda", "show", path, "--json"});
    ASSERT_EQ(json.status, 0);
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonObject p1 = root["probes"].toArray()[0].toObject();
    EXPECT_DOUBLE_EQ(p1["volts"].toArray()[8].toArray()[0].toDouble(), 0.85);
    const QJsonObject classes = p1["classes"].toObject();
    EXPECT_EQ(classes["sehr fett"].toInt(), 1);
    EXPECT_EQ(classes["sehr mager"].toInt(), 1);
    EXPECT_EQ(classes["ausserhalb"].toInt(), 1);
    EXPECT_EQ(classes["leer"].toInt(), 150);
}

TEST(CliLambda, BadUseAndForeignFilesExitTwo)
{
    QTemporaryDir dir;
    const QString other = dir.filePath("x.kll");
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("KVT-Setup\n");
    f.close();
    const QString missing = dir.filePath("none.kll");
    // Errors about a file name it the way the other areas do: "motrix-cli: FILE: ...".
    const struct {
        QStringList args;
        QString err;
    } cases[] = {
        {{"lambda", "show"}, "Aufruf: motrix-cli lambda show"},
        {{"lambda", "list", other}, "Aufruf: motrix-cli lambda show"},
        {{"lambda", "show", missing}, "motrix-cli: " + missing + ": Datei kann nicht geöffnet"},
        {{"lambda", "show", other}, "motrix-cli: " + other + ": keine Lambdalogdatei"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(c.err)) << r.err.toStdString();
    }
}

}  // namespace
