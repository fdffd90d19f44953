// Writing, reading and removing the update marker.
#include "firmware/UpdateMarker.h"

#include "app/core/AtomicFile.h"

#include <QDir>
#include <QFile>

namespace firmware {

namespace {
// A marker is two short lines; anything much longer is not ours.
constexpr qint64 maxMarkerBytes = 8192;
}  // namespace

UpdateMarker::UpdateMarker(QString programDirectory) : m_directory(std::move(programDirectory))
{
}

QString UpdateMarker::filePath() const
{
    return QDir(m_directory).filePath(fileName());
}

bool UpdateMarker::write(const UpdateMark& mark) const
{
    const QByteArray text = mark.path.toUtf8() + '\n' + QByteArray::number(mark.size) + '\n';
    return app::writeFileAtomically(filePath(), text);
}

void UpdateMarker::remove() const
{
    QFile::remove(filePath());
}

std::optional<UpdateMark> UpdateMarker::read() const
{
    QFile file(filePath());
    if (!file.exists())
        return std::nullopt;
    UpdateMark mark;
    if (!file.open(QIODevice::ReadOnly))
        return mark;
    const QList<QByteArray> lines = file.read(maxMarkerBytes).split('\n');
    if (!lines.isEmpty())
        mark.path = QString::fromUtf8(lines.at(0)).trimmed();
    bool ok = false;
    const qint64 size = lines.size() > 1 ? lines.at(1).trimmed().toLongLong(&ok) : -1;
    mark.size = ok && size >= 0 ? size : -1;
    return mark;
}

}  // namespace firmware
