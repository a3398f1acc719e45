#include "app/panels/data_panel.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qh::app {

namespace {

QString Hex(std::uint32_t value, int digits) { return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper(); }

QLineEdit* Box(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(120);
    return box;
}

}  // namespace

DataPanel::DataPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* layout = new QVBoxLayout(this);
    lblWarning1_ = new QLabel(
        QStringLiteral("Warning: You stumbled on the hidden NGBD Data viewer and editor. This allows viewing, editing, adding, "
                       "and deleting NGBD data items relating to the Sim NGBD Data."),
        this);
    lblWarning1_->setObjectName(QStringLiteral("lblNgbdWarning1"));
    lblWarning2_ = new QLabel(
        QStringLiteral("While it appears to include capability for editing Lot and Family data the changes are ignored during saves."),
        this);
    lblWarning2_->setObjectName(QStringLiteral("lblNgbdWarning2"));
    for (QLabel* warning : {lblWarning1_, lblWarning2_}) {
        warning->setWordWrap(true);
        warning->setStyleSheet(QStringLiteral("color: red;"));
        layout->addWidget(warning);
    }
    auto* body = new QHBoxLayout;
    lstItems_ = new QListWidget(this);
    lstItems_->setObjectName(QStringLiteral("lstNgbdItems"));
    body->addWidget(lstItems_, 1);
    auto* form = new QFormLayout;
    edtOwner_ = Box(this, "edtNgbdOwner");
    edtGuid_ = Box(this, "edtNgbdGuid");
    edtFlags1_ = Box(this, "edtNgbdFlags1");
    edtFlags2_ = Box(this, "edtNgbdFlags2");
    edtInvNumber_ = Box(this, "edtNgbdInvNumber");
    edtPadding_ = Box(this, "edtNgbdPadding");
    memValues_ = new QPlainTextEdit(this);
    memValues_->setObjectName(QStringLiteral("memNgbdValues"));
    rbPrimary_ = new QRadioButton(QStringLiteral("Primary:"), this);
    rbPrimary_->setObjectName(QStringLiteral("rbNgbdPrimary"));
    rbSecondary_ = new QRadioButton(QStringLiteral("Secondary:"), this);
    rbSecondary_->setObjectName(QStringLiteral("rbNgbdSecondary"));
    auto* flags = new QHBoxLayout;
    flags->addWidget(edtFlags1_);
    flags->addWidget(edtFlags2_);
    form->addRow(QStringLiteral("Instance ID:"), edtOwner_);
    form->addRow(QStringLiteral("Data GUID:"), edtGuid_);
    form->addRow(QStringLiteral("Data Flags:"), flags);
    form->addRow(QStringLiteral("Inventory #:"), edtInvNumber_);
    form->addRow(QStringLiteral("Padding:"), edtPadding_);
    form->addRow(rbPrimary_, rbSecondary_);
    form->addRow(memValues_);
    auto* buttons = new QHBoxLayout;
    for (auto [caption, name] : {std::pair{"Save Data", "btnSaveData"}, std::pair{"Delete", "btnDeleteData"},
                                 std::pair{"Load Family Data", "btnLoadFamilyData"}, std::pair{"Load Lot Data", "btnLoadLotData"}}) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
        if (QString::fromLatin1(name) == QStringLiteral("btnSaveData")) {
            btnSaveData_ = button;
            connect(button, &QPushButton::clicked, this, [this] { btnSaveDataClick(); });
        }
        if (QString::fromLatin1(name) == QStringLiteral("btnDeleteData")) {
            btnDeleteData_ = button;
            connect(button, &QPushButton::clicked, this, [this] { btnDeleteClick(); });
        }
        if (QString::fromLatin1(name) == QStringLiteral("btnLoadFamilyData")) connect(button, &QPushButton::clicked, this, [this] { FillFrom(Source::Families); });
        if (QString::fromLatin1(name) == QStringLiteral("btnLoadLotData")) connect(button, &QPushButton::clicked, this, [this] { FillFrom(Source::Lots); });
    }
    form->addRow(buttons);
    body->addLayout(form, 1);
    layout->addLayout(body, 1);
    connect(lstItems_, &QListWidget::currentRowChanged, this, [this] { lstItemsClick(); });
}

std::vector<NeighborhoodItem>& DataPanel::Items() { return ItemsOf(document_.workspace()); }

std::vector<NeighborhoodItem>& DataPanel::ItemsOf(Workspace& ws) const {
    return source_ == Source::Families ? ws.familyItemList : source_ == Source::Lots ? ws.lotItemList : ws.simItemList;
}

void DataPanel::FillFrom(Source source) {
    Character* sim = Sim();
    if (!sim) return;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    source_ = source;
    const auto& catalogue = document_.session().objectCatalogue;
    rows_ = source == Source::Sim ? DataPanelRows(document_.workspace(), *sim, catalogue) : DataPanelRows(Items(), catalogue);
    const QSignalBlocker block(lstItems_);
    lstItems_->clear();
    lstItems_->addItem(QStringLiteral("Add New"));
    for (const DataPanelRow& row : rows_) lstItems_->addItem(QString::fromStdString(row.name));
    lstItems_->setCurrentRow(0);
    lstItemsClick();
    // Items the save could not write are shown, never changed.
    const QString refusal = QString::fromStdString(ItemsRefusal(document_.workspace()));
    for (QPushButton* button : {btnSaveData_, btnDeleteData_}) {
        button->setEnabled(refusal.isEmpty());
        button->setToolTip(refusal);
    }
    QApplication::restoreOverrideCursor();
}

void DataPanel::lstItemsClick() {
    const int row = lstItems_->currentRow();
    if (row <= 0 || row > static_cast<int>(rows_.size())) {
        for (QLineEdit* box : {edtOwner_, edtGuid_, edtFlags1_, edtFlags2_, edtInvNumber_, edtPadding_}) box->clear();
        memValues_->clear();
        rbSecondary_->setChecked(true);
        return;
    }
    const NeighborhoodItem& item = Items()[rows_[static_cast<std::size_t>(row - 1)].item];
    edtOwner_->setText(Hex(item.owner, 8));
    edtGuid_->setText(Hex(item.itemGuid, 8));
    edtFlags1_->setText(Hex(item.flags1, 2));
    edtFlags2_->setText(Hex(item.flags2, 2));
    edtPadding_->setText(Hex(item.padding, 2));
    edtInvNumber_->setText(Hex(item.invNumber, 4));
    QStringList values;
    for (std::uint16_t v : item.values) values << Hex(v, 4);
    memValues_->setPlainText(values.join(QStringLiteral("\n")));
    (item.secondary == 0 ? rbPrimary_ : rbSecondary_)->setChecked(true);
}

void DataPanel::btnSaveDataClick() {
    const auto index = SimIndex();
    if (!index) return;
    const int row = lstItems_->currentRow();
    const std::optional<std::size_t> item =
        row > 0 && row <= static_cast<int>(rows_.size()) ? std::optional(rows_[static_cast<std::size_t>(row - 1)].item)
                                                         : std::nullopt;
    // The boxes are read in turn into a copy; a box that is not hexadecimal stops there, the
    // fields before it taken and the sim not marked.
    NeighborhoodItem edited = item ? Items()[*item] : NeighborhoodItem{};
    std::string problem;
    auto read = [&](QLineEdit* box, auto& field, const char* label) {
        bool ok = false;
        const qulonglong value = box->text().trimmed().toULongLong(&ok, 16);
        if (!ok) {
            problem = std::string("'") + box->text().toStdString() + "' is not a valid hexadecimal value for " + label;
            return false;
        }
        field = static_cast<std::remove_reference_t<decltype(field)>>(value);
        return true;
    };
    // An existing item takes its owner from the box too; a new one belongs to the selected sim.
    const bool boxesRead = (!item || read(edtOwner_, edited.owner, "Instance ID:")) &&
                           read(edtGuid_, edited.itemGuid, "Data GUID:") && read(edtFlags1_, edited.flags1, "Data Flags:") &&
                           read(edtFlags2_, edited.flags2, "Data Flags:") &&
                           read(edtInvNumber_, edited.invNumber, "Inventory #:") && read(edtPadding_, edited.padding, "Padding:");
    if (boxesRead) {
        std::vector<std::uint16_t> values;
        for (const QString& line : memValues_->toPlainText().split(QLatin1Char('\n'))) {
            if (line.trimmed().isEmpty()) continue;
            bool ok = false;
            const uint value = line.trimmed().toUInt(&ok, 16);
            if (!ok || value > 0xFFFF) {
                problem = "'" + line.toStdString() + "' is not a valid hexadecimal value";
                break;
            }
            values.push_back(static_cast<std::uint16_t>(value));
        }
        if (problem.empty()) {
            edited.values = std::move(values);
            edited.secondary = rbSecondary_->isChecked() ? 1 : 0;
        }
    }
    const bool complete = problem.empty();
    if (item || complete) {
        document_.EditSimAndItems(*index, item ? QStringLiteral("item changed") : QStringLiteral("item added"),
                                  [&](Workspace& ws, Character& sim) {
                                      if (item) {
                                          ReplaceItem(ItemsOf(ws)[*item], edited, sim, complete);
                                      } else {
                                          AddSimItemCopy(ws, sim, edited);
                                      }
                                  });
    }
    if (!complete) context_.dialogs.reporter().Error(problem);
    FillFrom(source_);
}

void DataPanel::btnDeleteClick() {
    const auto index = SimIndex();
    const int row = lstItems_->currentRow();
    if (!index || row <= 0 || row > static_cast<int>(rows_.size())) return;
    const std::size_t item = rows_[static_cast<std::size_t>(row - 1)].item;
    document_.EditSimAndItems(*index, QStringLiteral("item deleted"),
                              [&](Workspace& ws, Character& sim) { EraseItem(ItemsOf(ws), item, sim); });
    FillFrom(source_);
}

}  // namespace qh::app
