#include "app/message_asker.h"

#include <QApplication>
#include <QMessageBox>

namespace qh::app {

namespace {

bool Ask(const QString& question, QMessageBox::StandardButton yes, QMessageBox::StandardButton no) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillhaven"),
                    QString(question).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), yes | no,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("dlgQuestion"));
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    return box.exec() == yes;
}

}  // namespace

bool MessageBoxAsker::AskYesNo(const QString& question) { return Ask(question, QMessageBox::Yes, QMessageBox::No); }

bool MessageBoxAsker::AskOkCancel(const QString& question) { return Ask(question, QMessageBox::Ok, QMessageBox::Cancel); }

bool MessageBoxAsker::Run(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

}  // namespace qh::app
