// The log file (".klg"): its name, its eleven header lines and its record lines, written byte
// for byte as other tools that read these files expect them.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>

namespace logger {

class LogTable;

// The comment is at most this many characters.
constexpr int commentLength = 100;
// A record line is reckoned at this many bytes (file size estimates).
constexpr int reckonedLineBytes = 65;
// Header lines before the first record line.
constexpr int headerLines = 11;

// The column header, line 11 (names and values disagree from the fourteenth field on; readers
// go by position).
extern const char* const columnHeaderLine;

struct LogHeader {
    QString fileName;
    QDateTime created;
    QString hw;
    QString sw;
    QString comment;
};

// "kvtlog_20240517_093005.klg"; with a number n > 1, "kvtlog_20240517_093005_n.klg".
QString logFileName(const QDateTime& at, int n = 1);
// A path longer than 80 characters as its first 38, " ... " and its last 38.
QString shortenedPath(const QString& path);
// The comment cut to its first 100 characters.
QString cutComment(const QString& comment);

// Lines 1 to 11, each ended by a line feed. Line breaks inside the texts become blanks so that
// they can never add or shift header lines.
QByteArray headerBytes(const LogHeader& header);

// One record line of columns 0 to 14 and four empty fields, ended by a line feed, written to
// out (at least recordLineCapacity bytes). Returns the number of bytes.
constexpr int recordLineCapacity = 15 * 48 + 8;
int formatRecordLine(const std::array<double, 15>& values, char* out);
int formatRecordLine(const LogTable& table, qint64 row, char* out);

}  // namespace logger
