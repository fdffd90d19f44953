// The "Firmware" area of the system window as the update procedure sees it. Every method has
// a do-nothing default so that tests override only what they check.
#pragma once

#include <QString>

namespace firmware {

class UpdateView {
public:
    virtual ~UpdateView() = default;
    // Under "Dateipfad:" and "Dateiname:".
    virtual void showFolder(const QString& text) { Q_UNUSED(text); }
    virtual void showFileName(const QString& text) { Q_UNUSED(text); }
    // "update KVT" or, during an update, "Abbruch".
    virtual void showUpdateButton(const QString& text) { Q_UNUSED(text); }
    virtual void setProgressMaximum(int maximum) { Q_UNUSED(maximum); }
    virtual void setProgress(int value) { Q_UNUSED(value); }
    virtual void showStatus(const QString& text) { Q_UNUSED(text); }
};

}  // namespace firmware
