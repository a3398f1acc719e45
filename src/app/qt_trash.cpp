#include "app/qt_trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace qh::app {

std::optional<QString> QtTrash::MoveToTrash(const QString& path) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt looks for the home trash ($XDG_DATA_HOME/Trash) but does not make it; without it, it
    // would make "files" and "info" in the current folder. The trash is made where it belongs.
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (home.isEmpty()) return std::nullopt;
    QDir().mkpath(home + QStringLiteral("/Trash/files"));
    QDir().mkpath(home + QStringLiteral("/Trash/info"));
#endif
    QString pathInTrash;
    if (!QFile::moveToTrash(path, &pathInTrash)) return std::nullopt;
    const QFileInfo moved(pathInTrash);
    // A trash is a folder "Trash" (the home trash) or ".Trash-<user>" (a drive's): anything else,
    // the current folder above all, is not one.
    bool inTrash = false;
    for (QDir dir = moved.dir(); !dir.isRoot(); dir.setPath(QFileInfo(dir.absolutePath()).path())) {
        const QString name = dir.dirName();
        if (name == QStringLiteral("Trash") || name.startsWith(QStringLiteral(".Trash"))) inTrash = true;
        if (inTrash || dir.absolutePath().isEmpty()) break;
    }
    if (pathInTrash.isEmpty() || moved.isRelative() || !moved.exists() || !inTrash) {
        // Not a trash folder that can be told apart from the current folder: put it back.
        if (!pathInTrash.isEmpty()) QFile::rename(pathInTrash, path);
        return std::nullopt;
    }
    return moved.absoluteFilePath();
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
