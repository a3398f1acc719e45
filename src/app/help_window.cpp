#include "app/help_window.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace qh::app {

HelpWindow::HelpWindow(QString folder) : folder_(std::move(folder)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Quillhaven Help"));
    setOpenExternalLinks(true);
    setSearchPaths({folder_});
    resize(620, 520);
}

void HelpWindow::ShowTopic(int topic) {
    QString page = QDir(folder_).filePath(QString::number(topic) + QStringLiteral(".html"));
    if (!QFile::exists(page)) {
        topic = 1000;
        page = QDir(folder_).filePath(QStringLiteral("1000.html"));
    }
    shownTopic_ = topic;
    if (QFile::exists(page)) {
        setSource(QUrl::fromLocalFile(page));
    } else {
        setHtml(QStringLiteral("<p>The help pages were not found beside the program.</p>"));
    }
    show();
    raise();
}

}  // namespace qh::app
