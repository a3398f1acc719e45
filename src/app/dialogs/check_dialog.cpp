#include "app/dialogs/check_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "app/services.h"
#include "app/widgets.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace qh::app {

namespace {

QIcon SeverityIcon(const QStyle* style, FindingSeverity severity) {
    switch (severity) {
        case FindingSeverity::Damaged: return style->standardIcon(QStyle::SP_MessageBoxCritical);
        case FindingSeverity::Inconsistent: return style->standardIcon(QStyle::SP_MessageBoxWarning);
        case FindingSeverity::Notice: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    }
    return {};
}

QString Counts(const std::vector<Finding>& findings) {
    int counts[3] = {0, 0, 0};
    for (const Finding& f : findings) ++counts[static_cast<int>(f.severity)];
    if (findings.empty()) return QStringLiteral("No problems found.");
    return QStringLiteral("%1 damaged, %2 inconsistent, %3 notices. Double-click a row to show the sim it concerns.")
        .arg(counts[0])
        .arg(counts[1])
        .arg(counts[2]);
}

}  // namespace

CheckDialog::CheckDialog(QWidget* parent, std::vector<Finding> findings, QString title, QString reportFolder, Asker& asker,
                         Reporter& reporter)
    : QDialog(parent), findings_(std::move(findings)), title_(std::move(title)), reportFolder_(std::move(reportFolder)),
      asker_(asker), reporter_(reporter) {
    setObjectName(QStringLiteral("dlgCheckNeighborhood"));
    setWindowTitle(QStringLiteral("Check Neighborhood"));
    resize(900, 500);
    auto* layout = new QVBoxLayout(this);
    auto* summary = NamedLabel(this, QStringLiteral("lblCheckSummary"), title_ + QStringLiteral(": ") + Counts(findings_));
    summary->setWordWrap(true);
    layout->addWidget(summary);
    tvFindings_ = new QTreeWidget(this);
    tvFindings_->setObjectName(QStringLiteral("tvFindings"));
    tvFindings_->setHeaderLabels({QStringLiteral("Severity"), QStringLiteral("Sim or file"), QStringLiteral("What it means")});
    tvFindings_->setRootIsDecorated(false);
    tvFindings_->setWordWrap(true);
    tvFindings_->header()->setStretchLastSection(true);
    for (std::size_t i = 0; i < findings_.size(); ++i) {
        const Finding& f = findings_[i];
        auto* row = new QTreeWidgetItem(tvFindings_);
        row->setIcon(0, SeverityIcon(style(), f.severity));
        row->setText(0, QString::fromLatin1(SeverityName(f.severity)));
        row->setText(1, QString::fromStdString(f.subject));
        row->setText(2, QString::fromStdString(f.meaning));
        const QString fix = QStringLiteral("A fix would ") + QString::fromStdString(f.fix) + QLatin1Char('.');
        for (int column = 0; column < 3; ++column) row->setToolTip(column, QString::fromStdString(f.meaning) + QStringLiteral("\n") + fix);
        row->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
    }
    tvFindings_->resizeColumnToContents(0);
    tvFindings_->setColumnWidth(1, 320);
    layout->addWidget(tvFindings_, 1);
    connect(tvFindings_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const auto at = item->data(0, Qt::UserRole).toULongLong();
        if (at < findings_.size() && findings_[at].sim) {
            chosen_ = findings_[at].sim;
            accept();
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* save = buttons->addButton(QStringLiteral("Save Report..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("btnSaveReport"));
    SetTip(save, QStringLiteral("Save the findings as a text file"));
    connect(save, &QPushButton::clicked, this, [this] { btnSaveReportClick(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CheckDialog::btnSaveReportClick() {
    QFileDialog dialog(this, QStringLiteral("Save Report"), reportFolder_, QStringLiteral("Text (*.txt)"));
    dialog.setObjectName(QStringLiteral("dlgSaveReport"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(QStringLiteral("Neighborhood check.txt"));
    if (!asker_.Run(dialog) || dialog.selectedFiles().isEmpty()) return;
    const std::string text = FindingsReport(findings_, title_.toStdString());
    try {
        AtomicReplace(std::filesystem::u8path(dialog.selectedFiles().front().toStdString()),
                      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    } catch (const std::exception& error) {
        reporter_.Error("The report could not be saved: " + Explain(error));
    }
}

}  // namespace qh::app
