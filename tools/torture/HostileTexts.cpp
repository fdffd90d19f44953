// Fixed and random hostile texts.
#include "HostileTexts.h"

namespace torture {

const QStringList& fixedHostileTexts()
{
    static const QStringList texts = [] {
        QStringList t{
            QString(),
            QStringLiteral("abc"),
            QStringLiteral("1e400"),
            QStringLiteral("-1e400"),
            QStringLiteral("-0"),
            QStringLiteral("nan"),
            QStringLiteral("inf"),
            QStringLiteral("-inf"),
            QStringLiteral("0x1F"),
            QStringLiteral("1,5"),
            QStringLiteral("1.5"),
            QStringLiteral("-1.5"),
            QStringLiteral("0.005"),
            QStringLiteral("1.2345"),
            QStringLiteral("-"),
            QStringLiteral("+"),
            QStringLiteral("."),
            QStringLiteral("-."),
            QStringLiteral(" 42 "),
            QStringLiteral("\t7"),
            QStringLiteral("99999999999999999999"),
            QStringLiteral("-99999999999999999999"),
            QStringLiteral("2147483648"),
            QStringLiteral("-2147483649"),
            QStringLiteral("4294967296"),
            QStringLiteral("4294968296"),
            QStringLiteral("65536"),
            QStringLiteral("1 000"),
            QStringLiteral("12abc"),
            QString(QChar(0x0663)),             // Arabic-Indic digit three
            QString::fromUtf8("\xef\xbc\x95"),  // full-width five
            QString::fromUtf8("\xe2\x80\xae"
                              "123"),  // right-to-left override
            QString::fromUtf8("12\xe2\x80\x8f"
                              "3"),                                 // right-to-left mark inside
            QString::fromUtf8("\xf0\x9f\x94\xa5\xf0\x9f\x8f\x8d"),  // emoji
            QString(QChar(0)) + QStringLiteral("5"),
            QStringLiteral("5") + QChar(0) + QStringLiteral("5"),
            QStringLiteral("\r\n1"),
            QStringLiteral("1\x7f"),
            QString(QChar(0xD800)) + QStringLiteral("1"),  // lone surrogate
            QString(10000, QLatin1Char('9')),
            QStringLiteral("-") + QString(10000, QLatin1Char('9')),
            QStringLiteral("0.") + QString(10000, QLatin1Char('5')),
            QString(5000, QChar(0x00e4)),
        };
        // Emoji across every cut a field makes (100, 200 characters).
        QString emoji;
        for (int i = 0; i < 150; ++i)
            emoji += QString::fromUtf8("\xf0\x9f\x98\x80");
        t << emoji << QStringLiteral("x") + emoji;
        return t;
    }();
    return texts;
}

QString RandomTexts::next()
{
    static const QStringList pieces{
        QStringLiteral("0"),
        QStringLiteral("1"),
        QStringLiteral("5"),
        QStringLiteral("9"),
        QStringLiteral("-"),
        QStringLiteral("+"),
        QStringLiteral("."),
        QStringLiteral(","),
        QStringLiteral("e"),
        QStringLiteral("E400"),
        QStringLiteral(" "),
        QStringLiteral("\t"),
        QStringLiteral("x"),
        QStringLiteral("nan"),
        QStringLiteral("inf"),
        QStringLiteral("0x"),
        QStringLiteral("\r"),
        QStringLiteral("\n"),
        QStringLiteral("\x7f"),
        QString(QChar(0)),
        QString(QChar(0x202E)),
        QString(QChar(0x200F)),
        QString(QChar(0xD83D)),
        QString(QChar(0xDE00)),
        QString::fromUtf8("\xf0\x9f\x98\x80"),
        QString(QChar(0x00e4)),
        QStringLiteral("16000"),
        QStringLiteral("65535"),
        QStringLiteral("2147483647"),
        QStringLiteral("999999999999"),
    };
    QString out;
    switch (below(4)) {
    case 0:  // a plausible number, sometimes far out
        out = QString::number(std::uniform_int_distribution<qint64>(-100000, 100000)(m_engine));
        if (below(2))
            out += QLatin1Char(below(2) ? '.' : ',') + QString::number(below(10000));
        break;
    case 1:  // a long digit string
        out = QString(below(3000) + 1, QLatin1Char('0' + char(below(10))));
        break;
    default: {  // a mix of pieces
        const int n = below(12) + 1;
        for (int i = 0; i < n; ++i)
            out += pieces[below(int(pieces.size()))];
    }
    }
    return out;
}

QString printable(const QString& text, int maxChars)
{
    QString out;
    for (QChar c : text) {
        if (out.size() >= maxChars) {
            out += QStringLiteral("…(%1)").arg(text.size());
            break;
        }
        const ushort u = c.unicode();
        if (u >= 0x20 && u < 0x7f)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

}  // namespace torture
