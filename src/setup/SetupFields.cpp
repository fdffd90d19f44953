// The field table of the setup record, in the order the KVT keeps it.
#include "setup/SetupFields.h"

#include <QtGlobal>
#include <array>

namespace setup {
namespace {

#define SCALAR(no, field, off, w, enc, lo, hi, def, label)                                   \
    FieldDescriptor                                                                          \
    {                                                                                        \
        no, #field, off, Width::w, 1, Encoding::enc, lo, hi, def, label,                     \
            &detail::getScalar<&SetupRecord::field>, &detail::setScalar<&SetupRecord::field> \
    }
#define ARRAY(no, field, off, w, n, enc, lo, hi, label)                                        \
    FieldDescriptor                                                                            \
    {                                                                                          \
        no, #field, off, Width::w, n, Encoding::enc, lo, hi, 0, label,                         \
            &detail::getElement<&SetupRecord::field>, &detail::setElement<&SetupRecord::field> \
    }

const std::array kFields = {
    SCALAR(1, cylinderOffset12, 0, Byte, Degrees, 0, 180, 0, "Zylinderversatz 1-2:"),
    SCALAR(2, cylinderOffset23, 1, Byte, Degrees, 0, 180, 0, "Zylinderversatz 2-3:"),
    SCALAR(3, engineTempCal1Temp, 2, Byte, Temp20, 0, 100, 0,
           "Motorttemperatur-Sensor: Einstellpunkt 1 Temperatur"),
    SCALAR(4, engineTempCal1Volt, 3, Byte, CentiVolt, 0, 255, 0,
           "Motorttemperatur-Sensor: Einstellpunkt 1 Spannung"),
    SCALAR(5, engineTempCal2Temp, 4, Byte, Temp20, 0, 140, 0,
           "Motorttemperatur-Sensor: Einstellpunkt 2 Temperatur"),
    SCALAR(6, engineTempCal2Volt, 5, Byte, CentiVolt, 0, 255, 0,
           "Motorttemperatur-Sensor: Einstellpunkt 2 Spannung"),
    SCALAR(7, airTempCal1Temp, 6, Byte, Temp20, 0, 100, 0,
           "Ansauglufttemperatur-Sensor: Einstellpunkt 1 Temperatur"),
    SCALAR(8, airTempCal1Volt, 7, Byte, CentiVolt, 0, 255, 0,
           "Ansauglufttemperatur-Sensor: Einstellpunkt 1 Spannung"),
    SCALAR(9, airTempCal2Temp, 8, Byte, Temp20, 0, 100, 0,
           "Ansauglufttemperatur-Sensor: Einstellpunkt 2 Temperatur"),
    SCALAR(10, airTempCal2Volt, 9, Byte, CentiVolt, 0, 255, 0,
           "Ansauglufttemperatur-Sensor: Einstellpunkt 2 Spannung"),
    SCALAR(11, throttleCal1Percent, 10, Byte, Percent, 0, 100, 0,
           "Drosselklappenpotentiometer: Einstellpunkt 1 Stellung"),
    SCALAR(12, throttleCal1Volt, 11, Byte, CentiVolt, 0, 255, 0,
           "Drosselklappenpotentiometer: Einstellpunkt 1 Spannung"),
    SCALAR(13, throttleCal2Percent, 12, Byte, Percent, 0, 100, 0,
           "Drosselklappenpotentiometer: Einstellpunkt 2 Stellung"),
    SCALAR(14, throttleCal2Volt, 13, Byte, CentiVolt, 0, 255, 0,
           "Drosselklappenpotentiometer: Einstellpunkt 2 Spannung"),
    SCALAR(15, coilChargeTime, 14, Byte, Charge250, 1, 32, 1, "Spulenladezeit:"),
    SCALAR(16, coilDriver, 15, Byte, Choice, 0, 1, 0, "Spule / ext. Treiber"),
    SCALAR(17, sensorAngle, 16, Byte, Degrees, 10, 180, 10, "Sensor v. OT:"),
    SCALAR(18, triggerTeeth, 17, Byte, Count, 3, 60, 8, "Triggerrad [Zähne inkl. Lücke]:"),
    SCALAR(19, injectionStartAngle, 18, Byte, Degrees, 0, 180, 0, "Einspritz-Startwinkel n.OT:"),
    SCALAR(20, startInjectionTime, 19, Word, Micros, 0, 10000, 0, "Start-Einspritzmenge:"),
    SCALAR(21, startInjectionRevs, 21, Byte, Count, 0, 10, 0, "Start-Einspritzung Umdr."),
    SCALAR(22, quickStartSpeed, 22, Byte, Rpm20, 1, 250, 10, "Schnellstartdrehz.:"),
    SCALAR(23, limiterSpeed, 23, Byte, Rpm100, 10, 160, 10, "Zündwinkel-Rückn.:"),
    SCALAR(24, limiterRetard, 24, Byte, Degrees, 0, 90, 0, "Winkel:"),
    SCALAR(25, output1Speed1, 25, Byte, Rpm100, 1, 160, 0, "Schaltausgang 1: Drehzahl größer als"),
    SCALAR(26, output2Speed1, 26, Byte, Rpm100, 1, 160, 0, "Schaltausgang 2: Drehzahl größer als"),
    ARRAY(27, injectionExtension, 27, Byte, 3, PerMille, 0, 250,
          "Einspritzkorrektur: Einspritzdüse"),
    ARRAY(28, injectorBalance, 30, Word, 3, PerMille, 0, 65535, "Ausgleichswert: Einspritzdüse"),
    ARRAY(29, airTempCorrection, 36, Byte, 17, Correction, 0, 150,
          "Korrektur Ansauglufttemperatur"),
    ARRAY(30, ignitionMap, 53, Byte, 153, Degrees, 0, 50, "Zündkennfeld"),
    ARRAY(31, injectionMap, 206, Word, 153, Micros, 0, 65000, "Einspritzkennfeld"),
    ARRAY(32, engineTempCorrection, 512, Byte, 17, Correction, 0, 150, "Korrektur Motortemperatur"),
    SCALAR(33, triggerEdge, 529, Byte, Choice, 0, 1, 0, "Flanke: fallend / steigend"),
    SCALAR(34, tachoPulses, 530, Byte, Count, 1, 8, 1,
           "Drehzahlmesserausgang: Impulse pro Umdrehung:"),
    SCALAR(35, limiterHysteresis, 531, Byte, Rpm20, 1, 50, 1, "Hysterese:"),
    SCALAR(36, dynamicFactor1, 532, Byte, Factor, 1, 20, 3, "Dynamikfaktor 1:"),
    SCALAR(37, dynamicFactor2, 533, Byte, Factor, 1, 20, 3, "Dynamikfaktor 2:"),
    SCALAR(38, dynamicSpeed1, 534, Byte, Rpm100, 1, 160, 15, "Dynamikfaktor 1 bis:"),
    SCALAR(39, dynamicSpeed2, 535, Byte, Rpm100, 1, 160, 50, "Dynamikfaktor 2 bis:"),
    SCALAR(40, timingStep, 536, Byte, Count, 1, 5, 1, "ZZP-Änderungsgschrittweite:"),
    SCALAR(41, learnActive, 537, Byte, Flag, 0, 1, 0, "Lernen aktiv"),
    SCALAR(42, learnMinEngineTemp, 538, Byte, Temp20, 0, 100, 70, "Mindest-Motortemperatur (°C):"),
    SCALAR(43, learnSpeedLow, 539, Byte, Rpm100, 0, 160, 20, "untere Lerndrehzahl:"),
    SCALAR(44, learnSpeedHigh, 540, Byte, Rpm100, 0, 160, 160, "obere Lerndrehzahl:"),
    SCALAR(45, learnThrottleLow, 541, Byte, Percent, 0, 100, 10,
           "untere Drosselklappenstellung (%):"),
    SCALAR(46, learnThrottleHigh, 542, Byte, Percent, 0, 100, 100,
           "obere Drosselklappenstellung (%):"),
    SCALAR(47, lambdaTarget, 543, Word, MilliVolt, 0, 1500, 750, "Lambdazielwert:"),
    SCALAR(48, learnLambdaInputs, 545, Byte, Bits, 0, 7, 0, "Vergleichswert wird gebildet aus:"),
    SCALAR(49, learnRate, 546, Byte, Count, 20, 250, 100, "Änderungsgeschwindigkeit"),
    SCALAR(50, output1Mode, 547, Byte, Choice, 0, 2, 0, "Schaltausgang 1:"),
    SCALAR(51, output2Mode, 548, Byte, Choice, 0, 3, 0, "Schaltausgang 2:"),
    SCALAR(52, input1Mode, 549, Byte, Choice, 0, 0, 0, "Schalteingang 1:"),
    SCALAR(53, input2Mode, 550, Byte, Choice, 0, 1, 0, "Schalteingang 2:"),
    SCALAR(54, input3Mode, 551, Byte, Choice, 0, 2, 0, "Schalteingang 3:"),
    SCALAR(55, output1Speed2, 552, Byte, Rpm100, 1, 160, 0,
           "Schaltausgang 1: und wenn Drehzahl kleiner als"),
    SCALAR(56, output2Speed2, 553, Byte, Rpm100, 1, 160, 0,
           "Schaltausgang 2: und wenn Drehzahl kleiner als"),
    SCALAR(57, triggerGaps, 554, Byte, Count, 1, 2, 2, "Anzahl Lücken:"),
    SCALAR(58, learnIncrement, 555, Word, Micros, 5, 500, 100, "Lerninkrement[µs]:"),
    SCALAR(59, sensorDamping, 557, Byte, Count, 1, 30, 10, "Dämpfung:"),
    ARRAY(0, injectorDeadTime, 558, Word, 3, Micros, 0, 4000, "Umschaltzeit: Einspritzdüse"),
    SCALAR(60, ignitionOffSpeed, 564, Byte, Rpm100, 10, 160, 0, "Zündung Aus:"),
    SCALAR(61, startInjectionAdd, 565, Byte, Flag, 0, 1, 0, "Einspritzwert addieren"),
    SCALAR(62, startInjectionOff, 566, Byte, Flag, 0, 1, 0, "Start Einspritzung Aus"),
    SCALAR(63, lambdaLogging, 567, Byte, Flag, 0, 1, 0, "KVT loggt Lambda im EEPROM"),
    SCALAR(64, limpMinEngineTemp, 568, Byte, Temp20, 70, 170, 0, "Notprogramm: Motor-Temp. min.:"),
    SCALAR(65, limpIgnitionOffSpeed, 569, Byte, Rpm100, 0, 160, 0,
           "Notprogramm: Zündung Aus über:"),
    SCALAR(66, limpTiming, 570, Byte, LimpTiming, 0, 60, 0, "Notprogramm: ZZP v.OT konstant:"),
    SCALAR(67, limpEnrichment, 571, Byte, PerMille, 0, 255, 0, "Notprogramm: Einspr. Anreich.:"),
    SCALAR(68, overrunCutoff, 572, Byte, Flag, 0, 1, 0, "Schubabschaltung Ein"),
    SCALAR(69, overrunMinEngineTemp, 573, Byte, Temp20, 20, 80, 50,
           "Schubabschaltung: Motor-Temperatur min.:"),
    SCALAR(70, overrunThrottleMax, 574, Byte, Percent, 0, 10, 2,
           "Schubabschaltung: Drosselklappe max.:"),
    SCALAR(71, overrunInjectionShare, 575, Byte, Percent, 0, 100, 10,
           "Schubabschaltung: Einspritzanteil:"),
    SCALAR(72, overrunMinSpeed, 576, Byte, Rpm100, 0, 160, 10, "Schubabschaltung: Drehzahl min.:"),
    SCALAR(73, ignitionMapEnabled, 577, Byte, Flag, 0, 1, 1, "Kennfeld"),
};

#undef SCALAR
#undef ARRAY

}  // namespace

std::span<const FieldDescriptor> setupFields()
{
    return kFields;
}

const FieldDescriptor* findField(QStringView name)
{
    for (const FieldDescriptor& field : kFields)
        if (name == QLatin1StringView(field.name))
            return &field;
    return nullptr;
}

namespace detail {
const FieldDescriptor& entryWithGetter(int (*get)(const SetupRecord&, int))
{
    for (const FieldDescriptor& field : kFields)
        if (field.get == get)
            return field;
    // Every member of the record has its entry; a member without one is a fault of this
    // program, found by the first test that binds it.
    qFatal("setup member without a table entry");
}
}  // namespace detail

}  // namespace setup
