// The whole program wired to a simulated KVT: identification, polling, the setup read after
// identification, the transfer buttons and a map edit reaching the KVT.
#include "forms/Lamp.h"
#include "setup/SetupBlock.h"
#include "support/MotrixOnSimulator.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct MotrixWithKvt : testsupport::MotrixOnSimulator {
    void start(bool readSetupAfterIdentification)
    {
        app::ProgramSettings s = simulatorSettings();
        s.readSetupAfterIdentification = readSetupAfterIdentification;
        MotrixOnSimulator::start(s);
    }
};

TEST_F(MotrixWithKvt, FirstTickIdentifiesPollsAndReadsTheSetup)
{
    start(true);
    ASSERT_TRUE(motrix->mainForm().comCheck->isChecked());
    motrix->loop().tick(app::Tick::ComTimer);

    ASSERT_TRUE(motrix->link().identified());
    EXPECT_TRUE(logged.contains("KVT wurde identifiziert"));
    EXPECT_TRUE(logged.contains("Daten von KVT gelesen"));
    // The program's record now is the simulator's setup.
    EXPECT_EQ(setup::encodeSetupBlock(motrix->setupRecord()), kvt.setup());
    // The same tick polled: the live panel shows the engine speed the KVT sent.
    EXPECT_EQ(motrix->mainForm().liveRpm->text(), QString::number(motrix->link().liveRecord().rpm));
    EXPECT_FALSE(motrix->mainForm().kvtHwValue->text().isEmpty());
    EXPECT_EQ(motrix->mainForm().comLamp->color(), QColor(0, 255, 0));
}

TEST_F(MotrixWithKvt, TransferButtonsReachTheKvt)
{
    start(false);
    motrix->loop().tick(app::Tick::ComTimer);
    ASSERT_TRUE(motrix->link().identified());
    EXPECT_FALSE(logged.contains("Daten von KVT gelesen"));

    motrix->mainForm().readFromKvtButton->click();
    EXPECT_EQ(logged.last(), "Daten von KVT gelesen");
    EXPECT_EQ(setup::encodeSetupBlock(motrix->setupRecord()), kvt.setup());

    motrix->setupRecord().limiterSpeed = 123;
    motrix->mainForm().writeToKvtButton->click();
    EXPECT_EQ(logged.last(), "Daten an KVT geschrieben");
    EXPECT_EQ(quint8(kvt.setup()[23]), 123);

    motrix->mainForm().eepromButton->click();
    EXPECT_EQ(quint8(kvt.eeprom()[23]), 123);
}

TEST_F(MotrixWithKvt, ComOffClearsTheIdentityAndGreysTheLamp)
{
    start(false);
    motrix->loop().tick(app::Tick::ComTimer);
    ASSERT_TRUE(motrix->link().identified());
    motrix->mainForm().comCheck->setChecked(false);
    motrix->loop().tick(app::Tick::ComTimer);
    EXPECT_FALSE(motrix->link().portOpen());
    EXPECT_TRUE(logged.contains("COM aus"));
    EXPECT_TRUE(motrix->mainForm().kvtHwValue->text().isEmpty());
    EXPECT_EQ(motrix->mainForm().comLamp->color(), QColor(127, 127, 127));
}

}  // namespace
