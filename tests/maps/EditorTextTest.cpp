// The help list, the description padding and the centred window position.
#include "maps/EditorText.h"
#include "maps/RedrawRules.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpText, KeysAndButtonsInTheirOrder)
{
    QStringList keys;
    for (const auto& row : maps::helpRows())
        keys << row.first;
    const QStringList expected{"Esc",
                               "F1",
                               "shift+F1",
                               "F3",
                               "F4",
                               "F5",
                               "F6",
                               "F7",
                               "F8",
                               "F10",
                               "F11",
                               "F12",
                               "Pfeil hoch",
                               "Pfeil runter",
                               "Pfeil rechts",
                               "Pfeil links",
                               "+  (shift +)",
                               "-   (shift -)",
                               "",
                               "-> EEPROM",
                               "-> PC",
                               "-> KVT",
                               "Laden",
                               "Speichern",
                               "Einstellungen",
                               "Test",
                               "Grossbild",
                               "System",
                               "Lern-Modus",
                               "Vitaldaten-Logger",
                               "Lambda-Logger",
                               "Leistungsvergleich",
                               "",
                               "verf. Ports?",
                               "",
                               "Details..."};
    EXPECT_EQ(keys, expected);
    const auto rows = maps::helpRows();
    EXPECT_EQ(rows[20].second, QStringLiteral("Die Daten der KVT werden zur Motrix kopiert"));
    EXPECT_EQ(rows[9].second, QStringLiteral(" Beenden"));
    EXPECT_EQ(rows.last().second, QStringLiteral("...gibt's in der Bedienungsanleitung :-)"));
    EXPECT_EQ(maps::helpHeading().second, QStringLiteral("Erklärung"));
    EXPECT_EQ(maps::helpHeading().first, QStringLiteral("Hauptfenster Tasten"));
    EXPECT_EQ(rows[2].second,
              QStringLiteral("Rücksetzten der Position Hauptfenster und Systemfenster"));
}

TEST(Description, PaddedOrCutToExactly100)
{
    EXPECT_EQ(maps::padDescription(QStringLiteral("abc")),
              QStringLiteral("abc") + QString(97, u' '));
    EXPECT_EQ(maps::padDescription(QString(130, u'x')), QString(100, u'x'));
    EXPECT_EQ(maps::padDescription(QString()).size(), 100);
}

TEST(RedrawRules, ViewsFollowOnlyInActivePasses)
{
    using maps::View;
    maps::RedrawPass pass;
    pass.boxes[size_t(View::AirTemp)].pos = true;
    pass.boxes[size_t(View::Injection)].kapp = true;
    EXPECT_EQ(maps::viewsToRedraw(pass), (std::array<bool, 4>{}));  // no poll, no key
    pass.identified = true;
    EXPECT_EQ(maps::viewsToRedraw(pass), (std::array<bool, 4>{true, true, false, false}));
    pass.boxes[size_t(View::Injection)].kapp = false;
    pass.lastControl = maps::LastControl::IgnitionPos;
    EXPECT_EQ(maps::viewsToRedraw(pass), (std::array<bool, 4>{false, true, false, true}));
    pass.lastControl = maps::LastControl::None;
    pass.identified = false;
    pass.wheelTurned = true;
    EXPECT_EQ(maps::viewsToRedraw(pass), (std::array<bool, 4>{true, true, false, false}));
    pass.wheelTurned = false;
    pass.shortcutUsed = true;
    EXPECT_EQ(maps::viewsToRedraw(pass), (std::array<bool, 4>{true, true, true, true}));
}

}  // namespace
