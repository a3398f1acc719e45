#include "app/qt_trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/trash.h"

namespace qh::app {

std::optional<QString> QtTrash::MoveToTrash(const QString& path) {
    const auto moved = MoveToTrashChecked(path.toStdU16String(), [](const std::filesystem::path& item) {
        QString inTrash;
        const bool done = QFile::moveToTrash(QString::fromStdU16String(item.u16string()), &inTrash);
        return done ? std::optional<std::filesystem::path>(inTrash.toStdU16String()) : std::nullopt;
    });
    if (!moved) return std::nullopt;
    return QString::fromStdU16String(moved->u16string());
}

bool QtTrash::Restore(const QString& pathInTrash, const QString& path) {
    if (QFileInfo::exists(path) || !QFile::rename(pathInTrash, path)) return false;
    // The freedesktop trash keeps what it knows of the file in info/<name>.trashinfo.
    const QFileInfo moved(pathInTrash);
    const QString info = moved.dir().absolutePath() + QStringLiteral("/../info/") + moved.fileName() +
                         QStringLiteral(".trashinfo");
    if (moved.dir().dirName() == QStringLiteral("files") && QFileInfo::exists(info)) QFile::remove(info);
    return true;
}

}  // namespace qh::app
