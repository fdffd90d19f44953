// The main window's layout: every group, caption, tool tip and button, all in the scrolled
// content, and room for the four view canvases.
#include "forms/Hauptdialog.h"

#include "forms/Window.h"

#include "support/TestApplication.h"

#include <QApplication>
#include <QScrollArea>
#include <QSet>
#include <gtest/gtest.h>

namespace forms {
namespace {

class MainFormTest : public ::testing::Test {
protected:
    MainFormTest() : m_window((testsupport::application(), app::windowInfo(app::WindowId::Main)))
    {
        m_form.setupUi(m_window.content());
    }

    QSet<QString> texts() const
    {
        QSet<QString> all;
        for (const QLabel* l : m_window.content()->findChildren<QLabel*>())
            all.insert(l->text());
        for (const QAbstractButton* b : m_window.content()->findChildren<QAbstractButton*>())
            all.insert(b->text());
        for (const QGroupBox* g : m_window.content()->findChildren<QGroupBox*>())
            all.insert(g->title());
        return all;
    }

    Window m_window;
    Hauptdialog m_form;
};

TEST_F(MainFormTest, EveryGroupAndCaptionIsThere)
{
    const QSet<QString> all = texts();
    const char16_t* expected[] = {
        u"Motor",
        u"Datei:",
        u"Beschreibung:",
        u"Einspritzung berechnet",
        u"Grundwert (Kennfeld):",
        u"Korr. Ansaugluft-Temp:",
        u"Korr. Motor-Temp:",
        u"Einspritzung: (µs)",
        u"Zündwinkel berechnet",
        u"Grundwert (Kennlinie):",
        u"Begrenzer (",
        u"):",
        u"Zündwinkel: (°KW)",
        u"Ein- / Ausgänge",
        u"Ausgang 1:",
        u"Ausgang 2:",
        u"Eingang 1:",
        u"Eingang 2:",
        u"Eingang 3:",
        u"Vitaldaten",
        u"Drehzahl:",
        u"U/min",
        u"Drosselklappe:",
        u"%",
        u"Motortemperatur:",
        u"°C",
        u"Ansauglufttemp.:",
        u"Lambdaspannung:",
        u"V",
        u"CPU-Temperatur:",
        u"Einspritzung zu Drehzahl und Drosselklappe (F5)",
        u"Drosselkl.:",
        u"Einspr. (µs):",
        u"auto",
        u"pos",
        u"kapp",
        u"x100",
        u"Start",
        u"Einspritzkorrektur zu Ansauglufttemperatur (F6)",
        u"Ansaugtemperatur:",
        u"Korrektur (%):",
        u"Einspritzkorrektur zu Motortemperatur (F7)",
        u"Korrenkur (%):",
        u"Zündung zu Drehzahl ( und Drosselklappe) (F8)",
        u"Zündwinkel v.OT:",
        u"Kennfeld",
        u"Kommunikation",
        u"COM",
        u"verf. Ports ?",
        u"Verbundene KVT: HW:",
        u"SW:",
        u"Laden",
        u"Speichern",
        u"-> PC",
        u"-> KVT",
        u"-> EEPROM",
        u"Einstellungen",
        u"Test",
        u"Lernmodus",
        u"Lambda-Logger",
        u"Vitaldaten-Logger",
        u"Leistungsvergleich",
        u"Grossbild",
        u"System",
    };
    for (const char16_t* text : expected) {
        const QString wanted = QString::fromUtf16(text);
        EXPECT_TRUE(all.contains(wanted)) << wanted.toStdString();
    }
}

TEST_F(MainFormTest, ThreeLambdaRowsAndOneMotorTemperatureCaptionPerPlace)
{
    int lambdaRows = 0;
    for (const QLabel* l : m_window.content()->findChildren<QLabel*>())
        lambdaRows += l->text() == QStringLiteral("Lambdaspannung:");
    EXPECT_EQ(lambdaRows, 3);
}

TEST_F(MainFormTest, ToolTips)
{
    const std::pair<QWidget*, const char16_t*> tips[] = {
        {m_form.descriptionEdit, u"Beschreibung der geladenen Einstellungsdatei"},
        {m_form.injectionAutoCheck, u"automatisches Justieren des Bearbeitungspunktes"},
        {m_form.injectionPosCheck, u"Zeigt die Position im Kennfeld an"},
        {m_form.injectionCapCheck, u"Kennfeld-zoom für niedrige Drehzahlen aktiviert"},
        {m_form.injectionX100Check, u"Kennfeldveränderung x100"},
        {m_form.injectionStartCheck, u""},
        {m_form.airTempAutoCheck, u"automatisches Justieren des Bearbeitungspunktes"},
        {m_form.airTempPosCheck, u"Zeigt die Position in der Kennlinie an"},
        {m_form.engineTempAutoCheck, u"automatisches Justieren des Bearbeitungspunktes"},
        {m_form.engineTempPosCheck, u"Zeigt die Position in der Kennlinie an"},
        {m_form.ignitionAutoCheck, u"automatisches Justieren des Bearbeitungspunktes"},
        {m_form.ignitionPosCheck, u"Zeigt die Position in der Kennlinie an"},
        {m_form.ignitionMapCheck, u"Aktiviert das Zündkennfeld"},
        {m_form.portCombo, u"Auswahl des zu nutzenden COM-Anschlusses"},
        {m_form.comCheck, u"Aktivieren der Kommunikation."},
        {m_form.refreshPortsButton, u"Aktualisiert die verfügbaren COM-Anschlüsse"},
        {m_form.loadButton, u"Läd ein setup von einem Datenträger in die Motrix"},
        {m_form.saveButton, u"Speichert das setup in der Motrix auf einen Datenträger"},
        {m_form.readFromKvtButton, u"Überträgt das setup in der KVT zur Motrix"},
        {m_form.writeToKvtButton, u"Überträgt das setup in der Motrix zur KVT"},
        {m_form.eepromButton, u"Speichert das setup in der KVT in deren EEPROM"},
        {m_form.settingsButton, u"Öffnet das Fenster 'Einstellungen'"},
        {m_form.testButton, u"Öffnet das Fenster 'Test'"},
        {m_form.learnButton, u"Öffnet das Fenster Lern-Modus"},
        {m_form.lambdaLoggerButton, u"Zeigt den Lambdalogger an"},
        {m_form.loggerButton, u"Aktiviert den Datenlogger-Fenster"},
        {m_form.powerButton, u"Öffnet das Fenster für den Leistungsvergleich"},
        {m_form.bigDisplayButton, u"Aktiviert das Grossbild"},
        {m_form.systemButton, u"Öffnet das Fenster 'System'"},
    };
    for (const auto& [widget, tip] : tips) {
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->toolTip(), QString::fromUtf16(tip)) << widget->objectName().toStdString();
    }
}

TEST_F(MainFormTest, ButtonCaptionsBelongToTheirButtons)
{
    EXPECT_EQ(m_form.readFromKvtButton->text(), "-> PC");
    EXPECT_EQ(m_form.writeToKvtButton->text(), "-> KVT");
    EXPECT_EQ(m_form.eepromButton->text(), "-> EEPROM");
    EXPECT_EQ(m_form.injectionCapCheck->text(), "kapp");
    EXPECT_EQ(m_form.ignitionMapCheck->text(), "Kennfeld");
}

TEST_F(MainFormTest, DescriptionFieldTakesAtMostHundredCharacters)
{
    EXPECT_EQ(m_form.descriptionEdit->maxLength(), 100);
}

TEST_F(MainFormTest, CanvasSlotsHaveTheViewSizes)
{
    EXPECT_EQ(m_form.injectionCanvasSlot->size(), QSize(385, 255));
    EXPECT_EQ(m_form.ignitionCanvasSlot->size(), QSize(385, 255));
    EXPECT_EQ(m_form.airTempCanvasSlot->size(), QSize(385, 100));
    EXPECT_EQ(m_form.engineTempCanvasSlot->size(), QSize(385, 100));

    auto* canvas = new QWidget;
    Hauptdialog::placeCanvas(m_form.injectionCanvasSlot, canvas);
    m_window.show();
    QApplication::processEvents();
    EXPECT_EQ(canvas->parentWidget(), m_form.injectionCanvasSlot);
    EXPECT_EQ(canvas->size(), QSize(385, 255));
}

TEST_F(MainFormTest, EverythingLiesInTheScrolledContentAndFitsTheWindowWidth)
{
    EXPECT_EQ(m_window.scrollArea()->widget(), m_window.content());
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_form.statusLine, m_form.comCheck, m_form.systemButton, m_form.liveCpuTemp,
             m_form.ignitionCanvasSlot, m_form.descriptionEdit})
        EXPECT_TRUE(m_window.content()->isAncestorOf(w)) << w->objectName().toStdString();
    // The window cannot be made wider than its design width, so nothing may need more.
    EXPECT_LE(m_window.content()->minimumSizeHint().width(), 830);
}

TEST_F(MainFormTest, ValueLabelsStartEmpty)
{
    for (QLabel* l : {m_form.liveRpm, m_form.calcInjectionTime, m_form.kvtHwValue,
                      m_form.output1Value, m_form.injectionValue, m_form.limiterSpeedValue})
        EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
}

}  // namespace
}  // namespace forms
