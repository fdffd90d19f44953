// What a HEX file holds that the decoder passes over: address gaps, extended-address records,
// single-character line ends, bytes after the end record.
#include "firmware/HexNotes.h"

#include <gtest/gtest.h>

using firmware::HexNote;
using firmware::inspectHex;

namespace {
QVector<HexNote::Kind> kinds(const QVector<HexNote>& notes)
{
    QVector<HexNote::Kind> out;
    for (const HexNote& n : notes)
        out << n.kind;
    return out;
}
}  // namespace

TEST(HexNotes, EachFindingWithItsLine)
{
    struct Case {
        const char* name;
        QByteArray file;
        QVector<HexNote::Kind> kinds;
        int firstLine;
    };
    const QByteArray r0 = ":0400000001020304F2";
    const QByteArray r4 = ":0400040001020304EE";
    const QByteArray r8000 = ":048000000102030472";
    const Case cases[] = {
        {"contiguous", r0 + "\r\n" + r4 + "\r\n:00000001FF\r\n", {}, 0},
        {"gap", r0 + "\r\n" + r8000 + "\r\n:00000001FF\r\n", {HexNote::Kind::AddressGap}, 2},
        {"extended", ":020000040001F9\r\n" + r0 + "\r\n", {HexNote::Kind::ExtendedAddress}, 1},
        {"start address", r0 + "\r\n:0400000500000000F7\r\n", {HexNote::Kind::StartAddress}, 2},
        {"LF",
         r0 + "\n:00000001FF\n",
         {HexNote::Kind::LineFeedOnly, HexNote::Kind::LineFeedOnly},
         1},
        {"after end", r0 + "\r\n:00000001FF\r\n\r\n", {HexNote::Kind::AfterEnd}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QVector<HexNote> notes = inspectHex(c.file);
        EXPECT_EQ(kinds(notes), c.kinds);
        if (!notes.isEmpty()) {
            EXPECT_EQ(notes.first().line, c.firstLine);
            EXPECT_TRUE(notes.first().text.startsWith(QStringLiteral("Zeile %1").arg(c.firstLine)));
        }
    }
}
