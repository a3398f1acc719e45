#include "app/dialogs/neighborhood_dialog.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/images.h"
#include "platform/file_io.h"
#include "workspace/neighborhood_picture.h"
#include "workspace/picture.h"

namespace qh::app {

namespace {

// Rows 64 pixels high: the picture at the left (1 pixel in), the text 6 pixels right of it and
// 12 pixels below the row's top.
class NeighborhoodRow : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 64};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
        int textLeft = option.rect.left() + 1 + 64 + 6;
        if (!picture.isNull()) painter->drawPixmap(option.rect.left() + 1, option.rect.top(), picture);
        painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        painter->drawText(QRect(textLeft, option.rect.top() + 12, option.rect.width() - textLeft, 40),
                          Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

}  // namespace

NeighborhoodDialog::NeighborhoodDialog(QWidget* parent, const std::vector<Neighborhood>& catalogue,
                                       const std::filesystem::path& neighborhoodsFolder, const std::string& preselect,
                                       std::function<void(int topic)> showHelp)
    : QDialog(parent), showHelp_(std::move(showHelp)) {
    setObjectName(QStringLiteral("dlgSelectNeighborhood"));
    setWindowTitle(QStringLiteral("Select Neighborhood"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstNeighborhoods"));
    list_->setItemDelegate(new NeighborhoodRow(list_));
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(catalogue[i].Text()), list_);
        item->setData(Qt::UserRole, static_cast<int>(i));
        try {
            const auto picture = NeighborhoodPicturePath(neighborhoodsFolder / catalogue[i].prefix, catalogue[i].prefix);
            const Bitmap square = ScaleToSquare(DecodePng(ReadFileBytes(picture)), 64);
            item->setData(Qt::DecorationRole, QPixmap::fromImage(ToQImage(square)));
        } catch (const std::exception&) {
            // No picture: the row's picture place stays blank.
        }
        if (catalogue[i].prefix == preselect) list_->setCurrentItem(item);
    }
    if (list_->currentRow() < 0) list_->setCurrentRow(-1);
    layout->addWidget(list_);
    auto* buttons = new QHBoxLayout;
    auto* previous = new QPushButton(QStringLiteral("Previous"), this);
    previous->setObjectName(QStringLiteral("btnPrevious"));
    auto* next = new QPushButton(QStringLiteral("Next"), this);
    next->setObjectName(QStringLiteral("btnNext"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    for (auto* b : {previous, next, ok, cancel}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(previous, &QPushButton::clicked, this, [this] { btnPreviousClick(); });
    connect(next, &QPushButton::clicked, this, [this] { btnNextClick(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    if (parent) {
        setPalette(parent->palette());
        list_->setPalette(parent->palette());
    }
    resize(460, 420);
}

int NeighborhoodDialog::Chosen() const {
    const QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toInt() : -1;
}

void NeighborhoodDialog::btnPreviousClick() {
    const int row = list_->currentRow();
    list_->setCurrentRow(row <= 0 ? list_->count() - 1 : row - 1);
}

void NeighborhoodDialog::btnNextClick() {
    const int row = list_->currentRow();
    list_->setCurrentRow(row < 0 || row >= list_->count() - 1 ? 0 : row + 1);
}

void NeighborhoodDialog::contextMenuEvent(QContextMenuEvent* event) {
    if (showHelp_) showHelp_(1002);
    event->accept();
}

}  // namespace qh::app
