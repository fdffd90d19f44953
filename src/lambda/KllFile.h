// The ".kll" lambda log file: UTF-8 text lines ended by a line feed, except the comment line,
// which is UTF-16LE (its line feed included); three blocks of nine throttle rows, one per probe.
#pragma once

#include "lambda/LambdaTable.h"

#include <QByteArray>
#include <QString>

namespace lambda {

// What a lambda log file holds besides its name.
struct KllDocument {
    LambdaTable table;
    QString date;  // "dd.MM.yyyy"
    QString time;  // "hh:mm:ss"
    QString hardware;
    QString software;
    QString comment;
};

// The file's bytes. fileName is the name without the folder; date and time are the moment of
// saving. Commas and line breaks in the header texts are written as blanks so that they can
// never shift the fields or lines that follow.
QByteArray encodeKll(const KllDocument& doc, const QString& fileName);

// Reads a file written by encodeKll or by hand to the same layout. Never fails: lines missing
// at the end read as empty, fields missing or without a number as 0.
KllDocument decodeKll(const QByteArray& bytes);

// The comment as it is kept: its first 100 characters without line feeds, carriage returns and
// commas; "..." when nothing is left.
QString cleanComment(const QString& text);

// The save name with ".kll" appended unless its extension already is "kll".
QString withKllExtension(const QString& path);

// A path of more than 50 characters shown as its first 22, " ... " and its last 22.
QString shortenedPath(const QString& path);

// An entry as the file writes it: mV / 1000 with two decimals.
QString kllNumber(int mv);

}  // namespace lambda
