// The texts typed into every field: a fixed list of hostile ones (empty, letters, overflowing
// exponents, signs, the German decimal comma, control characters, direction marks, emoji,
// very long digit strings) and random texts built from the same pieces, reproducible by seed.
#pragma once

#include <QString>
#include <QStringList>
#include <random>

namespace torture {

// Always typed, in this order.
const QStringList& fixedHostileTexts();

class RandomTexts {
public:
    explicit RandomTexts(quint64 seed) : m_engine(seed) {}
    QString next();
    // A number in [0, n).
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_engine); }

private:
    std::mt19937_64 m_engine;
};

// The text with control characters and non-ASCII shown as \x.. / \u...., cut for a report line.
QString printable(const QString& text, int maxChars = 40);

}  // namespace torture
