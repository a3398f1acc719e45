#include "app/panels/about_panel.h"

#include "app/widgets.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGroupBox>
#include <QUrl>
#include <QVBoxLayout>

#include "app/images.h"

namespace qh::app {

QString VersionCaption() {
    return QStringLiteral("Quillhaven Version: ") + QString::asprintf("%d.%d.%d  (Build %d)", QH_VERSION_MAJOR,
                                                                       QH_VERSION_MINOR, QH_VERSION_PATCH, QH_BUILD_NUMBER);
}

AboutPanel::AboutPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* layout = new QVBoxLayout(this);
    imgAbout_ = new QLabel(this);
    imgAbout_->setObjectName(QStringLiteral("imgAbout"));
    lblVersion_ = new QLabel(VersionCaption(), this);
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    auto* credits = new QLabel(
        QStringLiteral("Quillhaven edits the saved neighborhoods of The Sims 2 and its expansion packs while the game is "
                       "closed.\n\nWritten by the Quillhaven developers. Built with Qt, libpng, zlib, libjpeg-turbo, "
                       "nlohmann-json and CLI11.\n\nBack up a neighborhood before you change it: the game keeps no other "
                       "copy of your saves."),
        this);
    credits->setObjectName(QStringLiteral("memCredits"));
    credits->setWordWrap(true);
    auto* disclaimer = new QLabel(
        QStringLiteral("Quillhaven is not made, endorsed or supported by Electronic Arts or Maxis. The Sims is a "
                       "trademark of Electronic Arts Inc."),
        this);
    disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    disclaimer->setWordWrap(true);
    lblLink_ = new QLabel(QStringLiteral("Quillhaven on the web"), this);
    lblLink_->setObjectName(QStringLiteral("lblLink"));
    lblLink_->installEventFilter(this);
    lblLink_->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    auto* schemes = new QGroupBox(QStringLiteral("Color Scheme"), this);
    schemes->setObjectName(QStringLiteral("grpColorScheme"));
    auto* schemeLayout = new QVBoxLayout(schemes);
    rbLight_ = new QRadioButton(QStringLiteral("Light Background"), schemes);
    rbLight_->setObjectName(QStringLiteral("rbLightScheme"));
    SetTip(rbLight_, QStringLiteral("Dark text on a white background (changes nothing in the game)"));
    rbDark_ = new QRadioButton(QStringLiteral("Dark Background"), schemes);
    rbDark_->setObjectName(QStringLiteral("rbDarkScheme"));
    SetTip(rbDark_, QStringLiteral("Light text on a black background (changes nothing in the game)"));
    schemeLayout->addWidget(rbLight_);
    schemeLayout->addWidget(rbDark_);
    layout->addWidget(imgAbout_);
    layout->addWidget(lblVersion_);
    layout->addWidget(credits);
    layout->addWidget(disclaimer);
    layout->addWidget(lblLink_);
    layout->addWidget(schemes);
    layout->addStretch();
    // A choice clicked while long work keeps the panel disabled does nothing.
    connect(rbLight_, &QRadioButton::clicked, this, [this] {
        if (isEnabled() && !context_.status.Busy()) context_.view.ApplyColorScheme(0);
    });
    connect(rbDark_, &QRadioButton::clicked, this, [this] {
        if (isEnabled() && !context_.status.Busy()) context_.view.ApplyColorScheme(1);
    });
}

void AboutPanel::SchemeChanged() {
    const QString dk = context_.view.ColorScheme() == 0 ? QString() : QStringLiteral("Dk");
    imgAbout_->setPixmap(context_.pictures.images().Picture(QStringLiteral("IMG") + dk + QStringLiteral("QUILL")));
    (context_.view.ColorScheme() == 0 ? rbLight_ : rbDark_)->setChecked(true);
    ColorLink(false);
}

void AboutPanel::SelectScheme(int scheme) {
    (scheme == 0 ? rbLight_ : rbDark_)->setChecked(true);
    context_.view.ApplyColorScheme(scheme);
}


void AboutPanel::ColorLink(bool hover) {
    lblLink_->setStyleSheet(QStringLiteral("color: %1; text-decoration: underline;")
                                .arg(LinkColor(context_.view.ColorScheme(), hover).name()));
}

bool AboutPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblLink_) {
        if (event->type() == QEvent::Enter) {
            ColorLink(true);
            lblLink_->setCursor(Qt::PointingHandCursor);
        } else if (event->type() == QEvent::Leave) {
            ColorLink(false);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            QDesktopServices::openUrl(QUrl(QStringLiteral("https://quillhaven.invalid/")));
        }
    }
    return Panel::eventFilter(watched, event);
}

}  // namespace qh::app
