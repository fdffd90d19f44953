// Setup values as motrix-cli shows them: a setup file loaded with its checks, values in their
// units, where an element of a map or curve lies, and the fields in which two records differ.
// Shared by the "setup" commands and "kvt write", which compares what it sent with what the
// KVT gives back.
#pragma once

#include "setup/SetupFields.h"
#include "setup/SetupFileCodec.h"
#include "setup/SetupRecord.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QTextStream>
#include <optional>

namespace cli {

struct LoadedSetupFile {
    QString path;
    setup::SetupFileContent content;
};

// Reads a setup file; nothing, with a message on err, when it cannot be read or holds no setup
// (the first line's mark or the binary part missing).
std::optional<LoadedSetupFile> loadSetupFile(const QString& path, QTextStream& err);

QString valueText(const setup::FieldDescriptor& field, int stored);
QJsonValue jsonNumber(const setup::FieldDescriptor& field, int stored);
// Where one element of a field lies, in the axes the user knows.
QString elementName(const setup::FieldDescriptor& field, int element);

struct FieldDifference {
    const setup::FieldDescriptor* field = nullptr;
    int element = 0;
    int a = 0;
    int b = 0;
    // "name" or "name[where]".
    QString where() const;
    // "where  label: a -> b" in units.
    QString line() const;
    QJsonObject json(const QString& keyA, const QString& keyB) const;
};

// Every element that differs, in block order; the dead times only with withDeadTimes (the file
// does not carry them).
QList<FieldDifference> fieldDifferences(const setup::SetupRecord& a, const setup::SetupRecord& b,
                                        bool withDeadTimes);

}  // namespace cli
