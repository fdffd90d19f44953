// The setup history under kill -9: a child records entries one after another and reports each
// committed one; it is killed at a random moment, and the database must then open without
// being found damaged and hold every reported entry with its exact block.
#pragma once

#include <QString>
#include <random>

namespace savecrash {

// Runs kills kills in folder; prints one line of figures. True when nothing was lost or damaged.
bool runHistoryKills(const QString& folder, int kills, std::mt19937_64& random);

}  // namespace savecrash
