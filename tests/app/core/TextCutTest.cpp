// Texts cut to a field's or file's length never keep half of a character.
#include "app/core/SystemRules.h"
#include "app/core/TextCut.h"
#include "logger/LogFormat.h"

#include <gtest/gtest.h>

namespace {

const QString smile = QString::fromUtf8("\xf0\x9f\x98\x80");  // two UTF-16 units

TEST(TextCut, NeverSplitsAPairAndDropsLoneHalves)
{
    struct Case {
        QString text;
        qsizetype units;
        QString expect;
    };
    const Case cases[] = {
        {QStringLiteral("abcdef"), 4, QStringLiteral("abcd")},
        {QStringLiteral("a") + smile + smile, 4, QStringLiteral("a") + smile},
        {QStringLiteral("a") + smile + smile, 5, QStringLiteral("a") + smile + smile},
        {smile, 1, QString()},
        {QString(QChar(0xD800)) + QStringLiteral("1") + QChar(0xDC00), 10, QStringLiteral("1")},
        {QString(), 3, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::cutWhole(c.text, c.units), c.expect) << c.units;
}

TEST(TextCut, FieldTextsCutWhole)
{
    // A pasted text of one letter and emoji used to end in half an emoji after the cut.
    QString pasted = QStringLiteral("x");
    for (int i = 0; i < 150; ++i)
        pasted += smile;
    for (const QString& cut : {app::printoutTextEntry(pasted), logger::cutComment(pasted)}) {
        EXPECT_TRUE(cut.isValidUtf16());
        EXPECT_EQ(cut.size(), 99);
    }
}

}  // namespace
