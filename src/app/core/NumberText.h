// Numbers in the program's text files, written and read straight as bytes. The files hold tens
// of thousands of them; the library's number text makes a buffer of its own for each one and
// its text conversion copies each field, so both are kept for the rare cases below.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace app {

// Appends exactly what QByteArray::number(v, 'f', decimals) gives. to_chars rounds an exact
// tie to even where the library rounds it away from zero, and keeps the minus of a negative
// value written as zero; a number that could meet either case (about one in ten: its next
// digit rounds to 5) is written by the library itself.
inline void appendFixed(QByteArray& out, double v, int decimals)
{
    char buf[64];
    if (std::fabs(v) < 1e15) {
        const auto finer =
            std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals + 1);
        if (finer.ec == std::errc() && finer.ptr[-1] != '5') {
            char* end =
                std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr;
            const auto nonZero = [](char c) { return c >= '1' && c <= '9'; };
            if (buf[0] != '-' || std::find_if(buf + 1, end, nonZero) != end) {
                out.append(buf, end - buf);
                return;
            }
        }
    }
    out.append(QByteArray::number(v, 'f', decimals));
}

// The value of a decimal number without exponent, blanks or plus sign ("-12.345", "5.",
// ".5") of at most 24 characters; nullopt for any other text. The double is correctly
// rounded, so it equals what the text conversion gives for the same text, and it can neither
// overflow nor underflow a float.
inline std::optional<double> plainNumber(QByteArrayView text)
{
    const char* p = text.begin();
    const char* end = text.end();
    if (text.isEmpty() || text.size() > 24)
        return std::nullopt;
    const char* body = *p == '-' ? p + 1 : p;
    if (body == end || !((*body >= '0' && *body <= '9') || *body == '.'))
        return std::nullopt;
    double v = 0;
    const auto read = std::from_chars(p, end, v, std::chars_format::fixed);
    if (read.ec != std::errc() || read.ptr != end)
        return std::nullopt;
    return v;
}

}  // namespace app
