#include "app/StartWindow.h"

#include "app/core/ProgramInfo.h"
#include "app/core/WavFile.h"
#include "forms/startlogo.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <memory>

namespace app {

qint64 runStartWindow(const QString& programDirectory)
{
    QWidget window(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(programName + QStringLiteral(" startet..."));
    window.setFixedSize(220, 170);
    forms::Startlogo form;
    form.setupUi(&window);
    window.show();

    // Wait for the first tick of a 100 ms timer of the window.
    {
        QEventLoop wait;
        QTimer::singleShot(100, &wait, &QEventLoop::quit);
        wait.exec();
    }

    qint64 duration = 1000;
    std::unique_ptr<QSoundEffect> sound;
    const QString soundPath = programDirectory + QStringLiteral("kvt.wav");
    if (!QMediaDevices::defaultAudioOutput().isNull() && QFile::exists(soundPath)) {
        QFile file(soundPath);
        qint64 length = 0;
        if (file.open(QIODevice::ReadOnly))
            length = wavDurationMs(file.read(64 << 20));
        if (length > 0) {
            duration = startWindowDuration(length);
            sound = std::make_unique<QSoundEffect>();
            sound->setSource(QUrl::fromLocalFile(soundPath));
            sound->setVolume(1.0);
            sound->play();
        }
    }

    form.progress->setRange(0, int(duration));
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer step;
    QObject::connect(&step, &QTimer::timeout, &loop, [&] {
        const qint64 ms = elapsed.elapsed();
        form.progress->setValue(int(qMin(ms, duration)));
        if (ms >= duration)
            loop.quit();
    });
    step.start(20);
    loop.exec();

    if (sound)
        sound->stop();
    window.close();
    return duration;
}

}  // namespace app
