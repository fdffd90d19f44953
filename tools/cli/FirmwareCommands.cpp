// Decoding a firmware file as the program does and reporting the result and its pitfalls.
#include "FirmwareCommands.h"

#include "firmware/FirmwareImage.h"
#include "firmware/HexNotes.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {
namespace {

const char* const usage = "Aufruf:\n  motrix-cli firmware check DATEI.bin|DATEI.hex [--json]\n";

QString noteKind(firmware::HexNote::Kind kind)
{
    using K = firmware::HexNote::Kind;
    switch (kind) {
    case K::AddressGap: return QStringLiteral("address-gap");
    case K::ExtendedAddress: return QStringLiteral("extended-address");
    case K::StartAddress: return QStringLiteral("start-address");
    case K::LineFeedOnly: return QStringLiteral("lf-line-end");
    case K::AfterEnd: return QStringLiteral("after-end");
    }
    return {};
}

}  // namespace

int runFirmwareCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const bool json = args.contains(QStringLiteral("--json"));
    QStringList rest = args;
    rest.removeAll(QStringLiteral("--json"));
    if (rest.size() != 3 || rest[1] != QLatin1String("check")) {
        err << usage;
        return 2;
    }
    const QString path = rest[2];
    const firmware::FileKind kind = firmware::kindOfFile(QFileInfo(path).fileName());
    if (kind == firmware::FileKind::Other) {
        err << "motrix-cli: " << path << ": Falscher Dateityp (nur .bin und .hex)\n";
        return 2;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "motrix-cli: " << path << ": Datei kann nicht geöffnet werden ("
            << file.errorString() << ")\n";
        return 2;
    }
    const qint64 limit = kind == firmware::FileKind::Binary ? qint64(firmware::maxImageBytes)
                                                            : firmware::maxHexFileBytes;
    const QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        err << "motrix-cli: " << path << ": Lesefehler (" << file.errorString() << ")\n";
        return 2;
    }
    firmware::FirmwareImage image;
    const firmware::DecodeStatus status = bytes.size() > limit
                                              ? firmware::DecodeStatus::TooLarge
                                              : firmware::decodeFirmware(bytes, kind, image);
    const bool ready = status == firmware::DecodeStatus::Ok;
    const QByteArray sent = ready ? image.bytes() : QByteArray();
    const QString sha =
        ready ? QString::fromLatin1(
                    QCryptographicHash::hash(sent, QCryptographicHash::Sha256).toHex())
              : QString();
    const QVector<firmware::HexNote> notes = kind == firmware::FileKind::Hex
                                                 ? firmware::inspectHex(bytes)
                                                 : QVector<firmware::HexNote>();
    const QString statusLine = ready ? QStringLiteral("bereit") : firmware::statusText(status);

    if (json) {
        QJsonArray noteArray;
        for (const firmware::HexNote& n : notes)
            noteArray.append(QJsonObject{{QStringLiteral("line"), n.line},
                                         {QStringLiteral("kind"), noteKind(n.kind)},
                                         {QStringLiteral("text"), n.text}});
        QJsonObject doc{
            {QStringLiteral("file"), path},
            {QStringLiteral("type"),
             kind == firmware::FileKind::Binary ? QStringLiteral("bin") : QStringLiteral("hex")},
            {QStringLiteral("status"), int(status)},
            {QStringLiteral("statusText"), statusLine},
            {QStringLiteral("ready"), ready},
            {QStringLiteral("blockCount"), ready ? image.blockCount() : 0},
            {QStringLiteral("imageBytes"), int(sent.size())},
            {QStringLiteral("sha256"), ready ? QJsonValue(sha) : QJsonValue()},
            {QStringLiteral("notes"), noteArray},
        };
        out << QJsonDocument(doc).toJson(QJsonDocument::Indented);
    } else {
        out << "Datei:       " << path << "\n";
        out << "Status:      " << int(status) << " (" << statusLine << ")\n";
        // Block count and size for every file: a file that is not ready would send nothing.
        out << "Blöcke:      " << (ready ? image.blockCount() : 0) << " zu 128 Bytes\n";
        out << "Abbild:      " << sent.size() << " Bytes\n";
        if (ready)
            out << "SHA-256:     " << sha << "\n";
        for (const firmware::HexNote& n : notes)
            out << "Hinweis:     " << n.text << "\n";
    }
    return ready ? 0 : 1;
}

}  // namespace cli
