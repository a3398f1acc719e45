#include "app/dialogs/character_picker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "workspace/character_list.h"

namespace qh::app {

namespace {

// Rows 32 pixels high: the picture 1 pixel in, the text 6 pixels right of it and 6 below the top.
class SimRow : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 32};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
        if (!picture.isNull()) painter->drawPixmap(option.rect.left() + 1, option.rect.top(), picture);
        painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        const int left = option.rect.left() + 1 + 32 + 6;
        painter->drawText(QRect(left, option.rect.top() + 6, option.rect.width() - left, 24), Qt::AlignLeft | Qt::AlignTop,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

}  // namespace

CharacterPicker::CharacterPicker(QWidget* parent, const SimPick& pick, const std::vector<Entry>& entries)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmSelectCharacter"));
    setWindowTitle(pick.caption);
    setProperty("helpTopic", pick.helpTopic);
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("cbCharacters"));
    list_->setItemDelegate(new SimRow(list_));
    list_->setSortingEnabled(true);
    for (const Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.text, list_);
        item->setData(Qt::UserRole, static_cast<int>(entry.index));
        item->setData(Qt::DecorationRole, entry.picture);  // grey without a household
        if (pick.preselected == entry.index) list_->setCurrentItem(item);
    }
    layout->addWidget(list_);
    auto* label = new QLabel(pick.text, this);
    label->setObjectName(QStringLiteral("lblChooseSim"));
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (parent) setPalette(parent->palette());
    resize(420, 460);
}

int CharacterPicker::Chosen() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

}  // namespace qh::app
