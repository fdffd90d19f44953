// Builds the main window layout: groups, captions, tool tips, buttons and the canvas slots.
#include "forms/Hauptdialog.h"

#include "forms/Lamp.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace forms {

namespace {

// The dashed line above a computed result ("Einspritzung: (µs)", "Zündwinkel: (°KW)").
class DashedRule final : public QWidget {
public:
    DashedRule() { setFixedHeight(5); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DashLine));
        p.drawLine(0, height() / 2, width(), height() / 2);
    }
};

// The "auto" box of every view has the same tool tip.
QString autoTip()
{
    return QStringLiteral("automatisches Justieren des Bearbeitungspunktes");
}

QLabel* text(const QString& s)
{
    auto* label = new QLabel(s);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A label that shows a value; named so that tests and tools can find it.
QLabel* value(const QString& name, int minWidth = 40)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(minWidth);
    return label;
}

QCheckBox* check(const QString& name, const QString& label, const QString& tip = {})
{
    auto* box = new QCheckBox(label);
    box->setObjectName(name);
    if (!tip.isEmpty())
        box->setToolTip(tip);
    return box;
}

QPushButton* button(const QString& name, const QString& label, const QString& tip)
{
    auto* b = new QPushButton(label);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    // Return belongs to the window's shortcut (description padding), not to a button.
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QGroupBox* group(const QString& name, const QString& title)
{
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    return box;
}

// A fixed-size place for a view's canvas, grey like the canvases until one is placed.
QWidget* canvasSlot(const QString& name, int width, int height)
{
    auto* slot = new QWidget;
    slot->setObjectName(name);
    slot->setFixedSize(width, height);
    slot->setAutoFillBackground(true);
    QPalette pal = slot->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    slot->setPalette(pal);
    auto* layout = new QVBoxLayout(slot);
    layout->setContentsMargins(0, 0, 0, 0);
    return slot;
}

QHBoxLayout* row()
{
    auto* r = new QHBoxLayout;
    r->setSpacing(4);
    return r;
}

void tighten(QLayout* layout)
{
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(1);
}

}  // namespace

void Hauptdialog::placeCanvas(QWidget* slot, QWidget* canvas)
{
    slot->setAutoFillBackground(false);
    slot->layout()->addWidget(canvas);
}

void Hauptdialog::setupUi(QWidget* content)
{
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(3, 3, 3, 2);
    outer->setSpacing(2);
    // The content grows to what the groups need, so the scroll area scrolls instead of
    // squeezing them into the window's design size.
    outer->setSizeConstraint(QLayout::SetMinimumSize);

    groups = new QGridLayout;
    groups->setSpacing(2);
    outer->addLayout(groups, 1);

    // ---- "Motor" ----
    auto* motor = group("motorGroup", QStringLiteral("Motor"));
    {
        auto* g = new QGridLayout(motor);
        tighten(g);
        setupFileName = value("setupFileName", 120);
        setupFileName->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        descriptionEdit = new QLineEdit;
        descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
        descriptionEdit->setMaxLength(100);
        descriptionEdit->setToolTip(QStringLiteral("Beschreibung der geladenen Einstellungsdatei"));
        g->addWidget(text(QStringLiteral("Datei:")), 0, 0);
        g->addWidget(setupFileName, 0, 1);
        g->addWidget(text(QStringLiteral("Beschreibung:")), 1, 0);
        g->addWidget(descriptionEdit, 1, 1);
        g->setColumnStretch(1, 1);
    }
    groups->addWidget(motor, 0, 0);

    auto* com = group("comGroup", QStringLiteral("Kommunikation"));
    {
        auto* v = new QVBoxLayout(com);
        tighten(v);
        portCombo = new QComboBox;
        portCombo->setObjectName(QStringLiteral("portCombo"));
        portCombo->setToolTip(QStringLiteral("Auswahl des zu nutzenden COM-Anschlusses"));
        portCombo->setMinimumWidth(120);
        comCheck = check("comCheck", QStringLiteral("COM"),
                         QStringLiteral("Aktivieren der Kommunikation."));
        comLamp = new Lamp;
        comLamp->setObjectName(QStringLiteral("comLamp"));
        refreshPortsButton = button("refreshPortsButton", QStringLiteral("verf. Ports ?"),
                                    QStringLiteral("Aktualisiert die verfügbaren COM-Anschlüsse"));
        auto* switches = row();
        switches->addWidget(portCombo, 1);
        switches->addWidget(comCheck);
        switches->addWidget(comLamp);
        switches->addWidget(refreshPortsButton);
        v->addLayout(switches);
        auto* kvt = row();
        kvtHwValue = value("kvtHwValue", 28);
        kvtSwValue = value("kvtSwValue", 28);
        kvtHwValue->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        kvtSwValue->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        kvt->addWidget(text(QStringLiteral("Verbundene KVT: HW:")));
        kvt->addWidget(kvtHwValue);
        kvt->addWidget(text(QStringLiteral("SW:")));
        kvt->addWidget(kvtSwValue);
        kvt->addStretch(1);
        v->addLayout(kvt);
    }
    groups->addWidget(com, 0, 1);

    // ---- injection map ----
    injectionGroup =
        group("injectionGroup", QStringLiteral("Einspritzung zu Drehzahl und Drosselklappe (F5)"));
    {
        auto* v = new QVBoxLayout(injectionGroup);
        tighten(v);
        injectionCanvasSlot = canvasSlot("injectionCanvasSlot", 385, 255);
        v->addWidget(injectionCanvasSlot);
        auto* readouts = row();
        injectionSpeedValue = value("injectionSpeedValue");
        injectionThrottleValue = value("injectionThrottleValue", 30);
        injectionValue = value("injectionValue");
        readouts->addWidget(text(QStringLiteral("Drehzahl:")));
        readouts->addWidget(injectionSpeedValue);
        readouts->addWidget(text(QStringLiteral("Drosselkl.:")));
        readouts->addWidget(injectionThrottleValue);
        readouts->addWidget(text(QStringLiteral("Einspr. (µs):")));
        readouts->addWidget(injectionValue);
        readouts->addStretch(1);
        v->addLayout(readouts);
        auto* checks = row();
        injectionAutoCheck = check("injectionAutoCheck", QStringLiteral("auto"), autoTip());
        injectionPosCheck = check("injectionPosCheck", QStringLiteral("pos"),
                                  QStringLiteral("Zeigt die Position im Kennfeld an"));
        injectionCapCheck =
            check("injectionCapCheck", QStringLiteral("kapp"),
                  QStringLiteral("Kennfeld-zoom für niedrige Drehzahlen aktiviert"));
        injectionX100Check = check("injectionX100Check", QStringLiteral("x100"),
                                   QStringLiteral("Kennfeldveränderung x100"));
        injectionStartCheck = check("injectionStartCheck", QStringLiteral("Start"));
        for (QCheckBox* c : {injectionAutoCheck, injectionPosCheck, injectionCapCheck,
                             injectionX100Check, injectionStartCheck})
            checks->addWidget(c);
        checks->addStretch(1);
        v->addLayout(checks);
    }
    groups->addWidget(injectionGroup, 1, 0);

    // ---- ignition curve or map ----
    ignitionGroup =
        group("ignitionGroup", QStringLiteral("Zündung zu Drehzahl ( und Drosselklappe) (F8)"));
    {
        auto* v = new QVBoxLayout(ignitionGroup);
        tighten(v);
        ignitionCanvasSlot = canvasSlot("ignitionCanvasSlot", 385, 255);
        v->addWidget(ignitionCanvasSlot);
        auto* readouts = row();
        ignitionSpeedValue = value("ignitionSpeedValue");
        ignitionThrottleValue = value("ignitionThrottleValue", 30);
        ignitionValue = value("ignitionValue", 30);
        readouts->addWidget(text(QStringLiteral("Drehzahl:")));
        readouts->addWidget(ignitionSpeedValue);
        readouts->addWidget(text(QStringLiteral("Drosselkl.:")));
        readouts->addWidget(ignitionThrottleValue);
        readouts->addWidget(text(QStringLiteral("Zündwinkel v.OT:")));
        readouts->addWidget(ignitionValue);
        readouts->addStretch(1);
        v->addLayout(readouts);
        auto* checks = row();
        ignitionAutoCheck = check("ignitionAutoCheck", QStringLiteral("auto"), autoTip());
        ignitionPosCheck = check("ignitionPosCheck", QStringLiteral("pos"),
                                 QStringLiteral("Zeigt die Position in der Kennlinie an"));
        ignitionMapCheck = check("ignitionMapCheck", QStringLiteral("Kennfeld"),
                                 QStringLiteral("Aktiviert das Zündkennfeld"));
        for (QCheckBox* c : {ignitionAutoCheck, ignitionPosCheck, ignitionMapCheck})
            checks->addWidget(c);
        checks->addStretch(1);
        v->addLayout(checks);
    }
    groups->addWidget(ignitionGroup, 1, 1);

    // ---- the two correction curves ----
    struct CurveWidgets {
        QGroupBox** group;
        QWidget** slot;
        QLabel** temp;
        QLabel** correction;
        QCheckBox** autoCheck;
        QCheckBox** posCheck;
    };
    auto makeCurve = [](const char* prefix, const QString& title, const QString& tempLabel,
                        const QString& correctionLabel, const CurveWidgets& w) {
        const QString p = QLatin1String(prefix);
        *w.group = group(p + "Group", title);
        auto* v = new QVBoxLayout(*w.group);
        tighten(v);
        *w.slot = canvasSlot(p + "CanvasSlot", 385, 100);
        v->addWidget(*w.slot);
        auto* r = row();
        *w.temp = value(p + "Value", 30);
        *w.correction = value(p + "CorrectionValue", 30);
        *w.autoCheck = check(p + "AutoCheck", QStringLiteral("auto"), autoTip());
        *w.posCheck = check(p + "PosCheck", QStringLiteral("pos"),
                            QStringLiteral("Zeigt die Position in der Kennlinie an"));
        r->addWidget(text(tempLabel));
        r->addWidget(*w.temp);
        r->addWidget(text(correctionLabel));
        r->addWidget(*w.correction);
        r->addStretch(1);
        r->addWidget(*w.autoCheck);
        r->addWidget(*w.posCheck);
        v->addLayout(r);
    };
    makeCurve("airTemp", QStringLiteral("Einspritzkorrektur zu Ansauglufttemperatur (F6)"),
              QStringLiteral("Ansaugtemperatur:"), QStringLiteral("Korrektur (%):"),
              {&airTempGroup, &airTempCanvasSlot, &airTempValue, &airCorrectionValue,
               &airTempAutoCheck, &airTempPosCheck});
    makeCurve("engineTemp", QStringLiteral("Einspritzkorrektur zu Motortemperatur (F7)"),
              QStringLiteral("Motortemperatur:"), QStringLiteral("Korrenkur (%):"),
              {&engineTempGroup, &engineTempCanvasSlot, &engineTempValue, &engineCorrectionValue,
               &engineTempAutoCheck, &engineTempPosCheck});
    // The correction labels keep the names the views use for them.
    airCorrectionValue->setObjectName(QStringLiteral("airCorrectionValue"));
    engineCorrectionValue->setObjectName(QStringLiteral("engineCorrectionValue"));
    groups->addWidget(airTempGroup, 2, 0);
    groups->addWidget(engineTempGroup, 2, 1);

    // ---- live panel ----
    auto* panel = new QHBoxLayout;
    panel->setSpacing(2);
    groups->addLayout(panel, 3, 0, 1, 2);

    auto* computed = new QVBoxLayout;
    computed->setSpacing(2);
    panel->addLayout(computed);

    auto* injection = group("injectionComputedGroup", QStringLiteral("Einspritzung berechnet"));
    {
        auto* g = new QGridLayout(injection);
        tighten(g);
        calcInjectionBase = value("calcInjectionBase");
        calcAirCorrectionPercent = value("calcAirCorrectionPercent", 30);
        calcAirCorrectionUs = value("calcAirCorrectionUs", 30);
        calcEngineCorrectionPercent = value("calcEngineCorrectionPercent", 30);
        calcEngineCorrectionUs = value("calcEngineCorrectionUs", 30);
        calcInjectionTime = value("calcInjectionTime");
        g->addWidget(text(QStringLiteral("Grundwert (Kennfeld):")), 0, 0);
        g->addWidget(calcInjectionBase, 0, 2);
        g->addWidget(text(QStringLiteral("Korr. Ansaugluft-Temp:")), 1, 0);
        g->addWidget(calcAirCorrectionPercent, 1, 1);
        g->addWidget(calcAirCorrectionUs, 1, 2);
        g->addWidget(text(QStringLiteral("Korr. Motor-Temp:")), 2, 0);
        g->addWidget(calcEngineCorrectionPercent, 2, 1);
        g->addWidget(calcEngineCorrectionUs, 2, 2);
        g->addWidget(new DashedRule, 3, 0, 1, 3);
        g->addWidget(text(QStringLiteral("Einspritzung: (µs)")), 4, 0);
        g->addWidget(calcInjectionTime, 4, 2);
    }
    computed->addWidget(injection);

    auto* ignition = group("ignitionComputedGroup", QStringLiteral("Zündwinkel berechnet"));
    {
        auto* g = new QGridLayout(ignition);
        tighten(g);
        calcIgnitionBase = value("calcIgnitionBase");
        limiterSpeedValue = value("limiterSpeedValue", 30);
        limiterRetardValue = value("limiterRetardValue");
        calcIgnitionAngle = value("calcIgnitionAngle");
        g->addWidget(text(QStringLiteral("Grundwert (Kennlinie):")), 0, 0);
        g->addWidget(calcIgnitionBase, 0, 1);
        auto* limiter = row();
        limiter->setSpacing(0);
        limiter->addWidget(text(QStringLiteral("Begrenzer (")));
        limiter->addWidget(limiterSpeedValue);
        limiter->addWidget(text(QStringLiteral("):")));
        limiter->addStretch(1);
        g->addLayout(limiter, 1, 0);
        g->addWidget(limiterRetardValue, 1, 1);
        g->addWidget(new DashedRule, 2, 0, 1, 2);
        g->addWidget(text(QStringLiteral("Zündwinkel: (°KW)")), 3, 0);
        g->addWidget(calcIgnitionAngle, 3, 1);
    }
    computed->addWidget(ignition);
    computed->addStretch(1);

    auto* vital = group("vitalGroup", QStringLiteral("Vitaldaten"));
    {
        auto* g = new QGridLayout(vital);
        tighten(g);
        liveRpm = value("liveRpm");
        liveThrottle = value("liveThrottle");
        liveEngineTemp = value("liveEngineTemp");
        liveAirTemp = value("liveAirTemp");
        liveLambda = {value("liveLambda1"), value("liveLambda2"), value("liveLambda3")};
        liveCpuTemp = value("liveCpuTemp");
        struct Row {
            const char16_t* label;
            QLabel* value;
            const char16_t* unit;
        };
        const Row rows[] = {
            {u"Drehzahl:", liveRpm, u"U/min"},
            {u"Drosselklappe:", liveThrottle, u"%"},
            {u"Motortemperatur:", liveEngineTemp, u"°C"},
            {u"Ansauglufttemp.:", liveAirTemp, u"°C"},
            {u"Lambdaspannung:", liveLambda[0], u"V"},
            {u"Lambdaspannung:", liveLambda[1], u"V"},
            {u"Lambdaspannung:", liveLambda[2], u"V"},
            {u"CPU-Temperatur:", liveCpuTemp, u"°C"},
        };
        int r = 0;
        for (const Row& each : rows) {
            g->addWidget(text(QString::fromUtf16(each.label)), r, 0);
            g->addWidget(each.value, r, 1);
            g->addWidget(text(QString::fromUtf16(each.unit)), r, 2);
            ++r;
        }
        g->setRowStretch(r, 1);
    }
    panel->addWidget(vital);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(2);
    panel->addLayout(middle);

    auto* io = group("ioGroup", QStringLiteral("Ein- / Ausgänge"));
    {
        auto* g = new QGridLayout(io);
        tighten(g);
        output1Value = value("output1Value", 30);
        output2Value = value("output2Value", 30);
        input1Value = value("input1Value", 30);
        input2Value = value("input2Value", 30);
        input3Value = value("input3Value", 30);
        const std::pair<const char*, QLabel*> rows[] = {
            {"Ausgang 1:", output1Value}, {"Ausgang 2:", output2Value}, {"Eingang 1:", input1Value},
            {"Eingang 2:", input2Value},  {"Eingang 3:", input3Value},
        };
        int r = 0;
        for (const auto& [caption, shown] : rows) {
            g->addWidget(text(QString::fromLatin1(caption)), r, 0);
            g->addWidget(shown, r, 1);
            ++r;
        }
    }
    middle->addWidget(io);
    middle->addStretch(1);

    // ---- buttons ----
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    panel->addLayout(buttons);
    loadButton = button("loadButton", QStringLiteral("Laden"),
                        QStringLiteral("Läd ein setup von einem Datenträger in die Motrix"));
    saveButton = button("saveButton", QStringLiteral("Speichern"),
                        QStringLiteral("Speichert das setup in der Motrix auf einen Datenträger"));
    readFromKvtButton = button("readFromKvtButton", QStringLiteral("-> PC"),
                               QStringLiteral("Überträgt das setup in der KVT zur Motrix"));
    writeToKvtButton = button("writeToKvtButton", QStringLiteral("-> KVT"),
                              QStringLiteral("Überträgt das setup in der Motrix zur KVT"));
    eepromButton = button("eepromButton", QStringLiteral("-> EEPROM"),
                          QStringLiteral("Speichert das setup in der KVT in deren EEPROM"));
    settingsButton = button("settingsButton", QStringLiteral("Einstellungen"),
                            QStringLiteral("Öffnet das Fenster 'Einstellungen'"));
    testButton =
        button("testButton", QStringLiteral("Test"), QStringLiteral("Öffnet das Fenster 'Test'"));
    learnButton = button("learnButton", QStringLiteral("Lernmodus"),
                         QStringLiteral("Öffnet das Fenster Lern-Modus"));
    lambdaLoggerButton = button("lambdaLoggerButton", QStringLiteral("Lambda-Logger"),
                                QStringLiteral("Zeigt den Lambdalogger an"));
    loggerButton = button("loggerButton", QStringLiteral("Vitaldaten-Logger"),
                          QStringLiteral("Aktiviert den Datenlogger-Fenster"));
    powerButton = button("powerButton", QStringLiteral("Leistungsvergleich"),
                         QStringLiteral("Öffnet das Fenster für den Leistungsvergleich"));
    bigDisplayButton = button("bigDisplayButton", QStringLiteral("Grossbild"),
                              QStringLiteral("Aktiviert das Grossbild"));
    systemButton = button("systemButton", QStringLiteral("System"),
                          QStringLiteral("Öffnet das Fenster 'System'"));
    // Setup transfer on the left (with "System" below it), the other windows on the right.
    QPushButton* const setupColumn[] = {loadButton,       saveButton,   readFromKvtButton,
                                        writeToKvtButton, eepromButton, systemButton};
    QPushButton* const windowColumn[] = {settingsButton,     testButton,   learnButton,
                                         lambdaLoggerButton, loggerButton, powerButton,
                                         bigDisplayButton};
    int r = 0;
    for (QPushButton* b : setupColumn)
        buttons->addWidget(b, r++, 0);
    r = 0;
    for (QPushButton* b : windowColumn)
        buttons->addWidget(b, r++, 1);
    buttons->setRowStretch(r, 1);

    statusLine = new QLabel;
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setTextFormat(Qt::PlainText);
    statusLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    statusLine->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(statusLine);
}

}  // namespace forms
