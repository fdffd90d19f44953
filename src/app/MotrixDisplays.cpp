// Wiring of the lambda logger, the big display and the emergency notice into the program.
#include "app/Motrix.h"

#include <QPagedPaintDevice>

namespace app {

void Motrix::createLiveDisplays()
{
    m_lambdaLink = std::make_unique<DeviceLambdaLink>(*m_link);
    m_lambdaLogger =
        std::make_unique<lambda::LambdaLogger>(*m_lambdaLink, m_dialogs, m_log, m_programDirectory);
    lambda::LambdaWindow::Hooks lambdaHooks;
    lambdaHooks.identified = [this] { return m_link->identified(); };
    lambdaHooks.injectionMapEdited = [this] {
        return m_mapKeys->editor().editMode() == maps::EditMode::InjectionMap;
    };
    lambdaHooks.liveRecord = [this] { return m_link->liveRecord(); };
    lambdaHooks.setLambdaLogging = [this](bool on) { m_document.record.lambdaLogging = on; };
    lambdaHooks.lambdaLogging = [this] { return m_document.record.lambdaLogging != 0; };
    // The page goes into a PDF file chosen through the file dialog.
    lambdaHooks.print = [this](const QString& job,
                               const std::function<void(QPagedPaintDevice&)>& draw) {
        return m_dialogs.print(job, draw);
    };
    m_lambdaWindow =
        std::make_unique<lambda::LambdaWindow>(m_windows[WindowId::LambdaLogger], *m_lambdaLogger,
                                               m_settings, m_log, std::move(lambdaHooks));

    display::BigDisplayWindow::Hooks bigHooks;
    bigHooks.liveRecord = [this] { return m_link->liveRecord(); };
    bigHooks.sensorErrors = [this] { return m_sensorWatch.errorCount(); };
    bigHooks.resetSensorErrors = [this] { m_sensorWatch.resetErrorCount(); };
    m_bigDisplay = std::make_unique<display::BigDisplayWindow>(
        m_windows[WindowId::BigDisplay], m_settings, m_document.record, std::move(bigHooks));
    m_emergencyNotice = std::make_unique<display::EmergencyNotice>();
}

void Motrix::refreshLiveDisplays()
{
    m_bigDisplay->tick();
    m_lambdaWindow->tick();
    m_emergencyNotice->tick(m_link->identified(), m_link->liveRecord().emergencyProgram);
}

}  // namespace app
