// DeviceCommands: the KVT's commands beside the polling and the setup transfer. All but "B"
// are sent blind (the KVT does not answer); callers check the conditions their windows name.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace app {
class MessageLog;
}

namespace devlink {

class Identification;
class PortLine;

class DeviceCommands final {
public:
    DeviceCommands(PortLine& line, const Identification& identification, app::MessageLog& log);

    // "W", 20 ms, index, value rounded and limited to one byte. Only while identified.
    void sendSetValue(int index, double value);
    // "X" 3: erase the KVT's EEPROM; logs "EEPROM loeschen".
    void eraseEeprom();
    // "X" 4: oscillator fine-tune byte.
    void sendCalibrationByte(quint8 value);
    // "N": restart the KVT.
    void restartKvt();
    // "V", 20 ms, output number, value high byte, low byte.
    void switchOutput(int output, quint16 value);
    // "B" with source (1 EEPROM, 0 RAM), 200 ms, then the 920-byte reply: returns the 919
    // bytes after "b" (flag byte first) or nothing when the reply failed.
    std::optional<QByteArray> readLambdaTable(bool fromEeprom);
    // "C" with target (1 EEPROM, 0 RAM).
    void clearLambdaTable(bool eeprom);
    // "U" and 200 ms: the KVT starts its boot loader.
    void startBootLoader();

private:
    PortLine& m_line;
    const Identification& m_identification;
    app::MessageLog& m_log;
};

}  // namespace devlink
