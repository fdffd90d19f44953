#include "logger/KlgReader.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace logger {

namespace {

// Powers of ten that a double holds exactly.
constexpr double exactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Reads the number at p (see fieldNumber) and returns where it ends; p when there is none.
inline const char* scanNumber(const char* p, const char* end, double& out)
{
    const char* start = p;
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Fast path for up to 15 digits with an optional point: the digits as one whole number
    // divided by a power of ten is one correctly rounded division, the same value that
    // std::from_chars gives.
    const char* digits = p;
    quint64 mantissa = 0;
    int count = 0;
    while (p < end && quint8(*p - '0') < 10 && count < 16) {
        mantissa = mantissa * 10 + quint64(*p++ - '0');
        ++count;
    }
    int decimals = 0;
    if (p < end && *p == '.') {
        ++p;
        while (p < end && quint8(*p - '0') < 10 && count < 16) {
            mantissa = mantissa * 10 + quint64(*p++ - '0');
            ++count;
            ++decimals;
        }
    }
    const bool simple =
        count > 0 && count < 16 && !(p < end && (quint8(*p - '0') < 10 || *p == 'e' || *p == 'E'));
    if (simple) {
        const double v = double(mantissa) / exactPowers[decimals];
        out = negative ? -v : v;
        return p;
    }
    if (count == 0 &&
        !(digits < end && *digits == '.' && digits + 1 < end && quint8(digits[1] - '0') < 10)) {
        out = 0;  // no number at all ("e5", ".", "-", "nan", text)
        return p == digits ? start : p;
    }
    // Long or exponent forms. std::from_chars takes no sign of its own beyond '-', and accepts
    // "inf" and "nan", which never get here because a digit or a point comes first.
    double v = 0;
    const auto result = std::from_chars(digits, end, v, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(v) ||
        std::fabs(v) > double(std::numeric_limits<float>::max())) {
        out = 0;
        return result.ptr > digits ? result.ptr : p;
    }
    out = negative ? -v : v;
    return result.ptr;
}

}  // namespace

double fieldNumber(const char* begin, const char* end)
{
    double v = 0;
    scanNumber(begin, end, v);
    return v;
}

void parseRecordLine(const char* p, const char* end, RecordFields& fields)
{
    int column = 0;
    while (column < 19) {
        double v = 0;
        const char* q = scanNumber(p, end, v);
        fields[column++] = v;
        if (q < end && *q == ',') {
            p = q + 1;
            continue;
        }
        const char* comma = static_cast<const char*>(std::memchr(q, ',', std::size_t(end - q)));
        if (!comma)
            break;  // the text after the last comma was the last value
        p = comma + 1;
    }
    for (; column < 19; ++column)
        fields[column] = 0;
}

KlgReader::KlgReader(QIODevice& in, qint64 bufferBytes)
    : m_in(in), m_buffer(std::size_t(std::max<qint64>(bufferBytes, 16)))
{
}

bool KlgReader::refill()
{
    if (m_atEnd)
        return false;
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, std::size_t(m_end - m_pos));
        m_end -= m_pos;
        m_pos = 0;
    }
    const qint64 room = qint64(m_buffer.size()) - m_end;
    if (room == 0)
        return false;
    const qint64 got = m_in.read(m_buffer.data() + m_end, room);
    if (got < 0) {
        m_failed = true;
        m_atEnd = true;
        return false;
    }
    if (got == 0) {
        m_atEnd = true;
        return false;
    }
    m_end += got;
    m_bytesRead += got;
    return true;
}

bool KlgReader::nextLine(const char*& begin, const char*& end)
{
    for (;;) {
        char* base = m_buffer.data();
        const void* nl = std::memchr(base + m_pos, '\n', std::size_t(m_end - m_pos));
        if (nl) {
            const char* lineEnd = static_cast<const char*>(nl);
            const char* lineBegin = base + m_pos;
            m_pos = lineEnd - base + 1;
            if (m_skipRest) {
                m_skipRest = false;
                continue;
            }
            begin = lineBegin;
            end = (lineEnd > lineBegin && lineEnd[-1] == '\r') ? lineEnd - 1 : lineEnd;
            return true;
        }
        if (refill())
            continue;
        if (m_end - m_pos == qint64(m_buffer.size())) {
            // A line longer than the buffer: hand out what is there, drop the rest of it.
            begin = base;
            end = base + m_end;
            m_pos = m_end;
            if (m_skipRest)
                continue;
            m_skipRest = true;
            return true;
        }
        // At the end of the input: a last line without a line feed.
        if (m_pos < m_end) {
            begin = base + m_pos;
            end = base + m_end;
            m_pos = m_end;
            if (m_skipRest) {
                m_skipRest = false;
                return false;
            }
            return true;
        }
        return false;
    }
}

KlgHeaderText KlgReader::readHeader()
{
    KlgHeaderText header;
    const char* b = nullptr;
    const char* e = nullptr;
    auto afterComma = [&] {
        const char* comma = static_cast<const char*>(std::memchr(b, ',', std::size_t(e - b)));
        return comma ? QString::fromUtf8(comma + 1, e - comma - 1) : QString();
    };
    while (header.lines < 11 && nextLine(b, e)) {
        switch (++header.lines) {
        case 1: header.title = QString::fromUtf8(b, e - b); break;
        case 2: header.date = afterComma(); break;
        case 3: header.time = afterComma(); break;
        case 5: header.hw = afterComma(); break;
        case 6: header.sw = afterComma(); break;
        case 8: header.comment = afterComma(); break;
        default: break;
        }
    }
    return header;
}

bool KlgReader::nextRecord(RecordFields& fields)
{
    const char* b = nullptr;
    const char* e = nullptr;
    if (!nextLine(b, e))
        return false;
    parseRecordLine(b, e, fields);
    return true;
}

}  // namespace logger
