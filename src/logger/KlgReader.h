// Reading log files (".klg") fast: a pointer scan over large buffers, no text object per line.
// The header lines give the date, time, HW, SW and comment; every later line is one record
// whose fields are taken by position. A field that is empty or holds no number gives 0, a line
// with fewer fields leaves the missing columns 0. Lines of any length and bytes of any value
// are read without harm: a line longer than the buffer is cut at the buffer's size.
#pragma once

#include <QIODevice>
#include <QString>
#include <array>
#include <vector>

namespace logger {

// The 19 fields of one record line.
using RecordFields = std::array<double, 19>;

// The number at the start of a field: blanks skipped, an optional sign, digits with an optional
// point and exponent; anything after it is ignored. No number, or one a float cannot hold,
// gives 0.
double fieldNumber(const char* begin, const char* end);
// Splits one line (without its line feed) into the 19 fields.
void parseRecordLine(const char* begin, const char* end, RecordFields& fields);

struct KlgHeaderText {
    int lines = 0;    // header lines found (0 to 11)
    QString title;    // line 1 as it stands ("KVT-Log-Datei," and the name)
    QString date;     // text after the first comma of line 2
    QString time;     // line 3
    QString hw;       // line 5
    QString sw;       // line 6
    QString comment;  // line 8
};

class KlgReader final {
public:
    static constexpr qint64 defaultBufferBytes = 4 << 20;

    // in must be open for reading; it is read front to back once.
    explicit KlgReader(QIODevice& in, qint64 bufferBytes = defaultBufferBytes);

    // Reads lines 1 to 11 (as many as there are).
    KlgHeaderText readHeader();
    // The next line without its line feed (and without a carriage return before it); the
    // pointers stay valid until the next call. False at the end of the input.
    bool nextLine(const char*& begin, const char*& end);
    // The next line parsed as a record.
    bool nextRecord(RecordFields& fields);

    // Bytes taken from the input so far.
    qint64 bytesRead() const { return m_bytesRead; }
    bool readFailed() const { return m_failed; }

private:
    bool refill();

    QIODevice& m_in;
    std::vector<char> m_buffer;
    qint64 m_pos = 0;
    qint64 m_end = 0;
    qint64 m_bytesRead = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_skipRest = false;  // the rest of a line longer than the buffer is dropped
};

}  // namespace logger
