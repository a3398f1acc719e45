// Draws the window's pictures (the companion picture library) and writes them with a Qt resource
// collection file, which the build compiles into Images.rcc.
//
// Usage: quillhaven-draw-images OUTPUT_FOLDER
#include <algorithm>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <functional>

namespace {

struct Scheme {
    QColor background;
    QColor ink;
    QColor accent;
    QString prefix;  // "" or "Dk"
};

QImage Canvas(int w, int h, const QColor& fill) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QImage Title(const Scheme& s, int w, int h, double size) {
    QImage image = Canvas(w, h, s.background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A quill: a curved feather with a nib, drawn left of the name.
    QPainterPath feather;
    feather.moveTo(h * 0.25, h * 0.9);
    feather.cubicTo(h * 0.35, h * 0.4, h * 0.6, h * 0.15, h * 0.95, h * 0.08);
    feather.cubicTo(h * 0.8, h * 0.45, h * 0.55, h * 0.7, h * 0.25, h * 0.9);
    p.setPen(QPen(s.ink, std::max(1.5, h / 48.0)));
    p.setBrush(s.accent);
    p.drawPath(feather);
    p.drawLine(QPointF(h * 0.25, h * 0.9), QPointF(h * 0.15, h * 1.0));
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(static_cast<int>(h * size));
    font.setItalic(true);
    font.setBold(true);
    p.setFont(font);
    p.setPen(s.ink);
    p.drawText(QRectF(h * 1.05, 0, w - h * 1.05, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Quillhaven"));
    return image;
}

QImage Icon(const Scheme& s, const std::function<void(QPainter&)>& draw) {
    QImage image = Canvas(48, 48, s.background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(s.ink, 2));
    p.setBrush(s.accent);
    draw(p);
    return image;
}

void House(QPainter& p) {
    p.drawPolygon(QPolygonF({QPointF(6, 24), QPointF(24, 7), QPointF(42, 24)}));
    p.drawRect(11, 24, 26, 18);
    p.setBrush(Qt::NoBrush);
    p.drawRect(21, 31, 7, 11);
}

void Family(QPainter& p) {
    p.drawEllipse(QPointF(15, 14), 6, 6);
    p.drawEllipse(QPointF(33, 14), 6, 6);
    p.drawEllipse(QPointF(24, 26), 4.5, 4.5);
    p.drawRoundedRect(8, 22, 14, 20, 5, 5);
    p.drawRoundedRect(26, 22, 14, 20, 5, 5);
    p.drawRoundedRect(19, 32, 10, 11, 4, 4);
}

void Cash(QPainter& p) {
    p.drawRoundedRect(5, 13, 38, 22, 3, 3);
    p.drawEllipse(QPointF(24, 24), 6, 6);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(18, 18, 12, 12), Qt::AlignCenter, QStringLiteral("\u00A7"));
}

void Cat(QPainter& p) {
    p.drawPolygon(QPolygonF({QPointF(12, 10), QPointF(18, 20), QPointF(10, 22)}));
    p.drawPolygon(QPolygonF({QPointF(36, 10), QPointF(30, 20), QPointF(38, 22)}));
    p.drawEllipse(QPointF(24, 27), 14, 13);
    p.drawPoint(QPointF(19, 25));
    p.drawPoint(QPointF(29, 25));
    p.drawLine(QPointF(8, 30), QPointF(17, 30));
    p.drawLine(QPointF(31, 30), QPointF(40, 30));
}

void Dog(QPainter& p) {
    p.drawEllipse(QPointF(24, 26), 13, 14);
    p.drawEllipse(QPointF(11, 22), 5, 11);
    p.drawEllipse(QPointF(37, 22), 5, 11);
    p.drawEllipse(QPointF(24, 32), 4, 3);
    p.drawPoint(QPointF(19, 23));
    p.drawPoint(QPointF(29, 23));
}

void Bird(QPainter& p) {
    p.drawEllipse(QPointF(22, 27), 13, 10);
    p.drawEllipse(QPointF(33, 17), 7, 7);
    p.drawPolygon(QPolygonF({QPointF(39, 16), QPointF(46, 18), QPointF(39, 20)}));
    p.drawLine(QPointF(18, 37), QPointF(16, 44));
    p.drawLine(QPointF(25, 37), QPointF(25, 44));
}

QImage Unknown() {
    QImage image = Canvas(128, 128, QColor(0x9A, 0xA4, 0xB0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD8, 0xDE, 0xE6));
    p.drawEllipse(QPointF(64, 50), 26, 30);
    p.drawEllipse(QPointF(64, 138), 50, 44);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x5C, 0x66, 0x72));
    p.drawText(QRectF(38, 22, 52, 56), Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

QImage Badge(const QColor& metal, int stars) {
    QImage image = Canvas(32, 32, Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(metal.darker(160), 2));
    p.setBrush(stars ? metal : QColor(0xE0, 0xE0, 0xE0));
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(QPen(metal.darker(200), 1.5));
    for (int i = 0; i < stars; ++i) p.drawEllipse(QPointF(9 + i * 7, 16), 2.5, 2.5);
    return image;
}

QImage Check(bool ticked) {
    QImage image = Canvas(16, 16, Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (ticked) {
        p.setPen(QPen(QColor(0x2E, 0x8B, 0x3A), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(13, 4)}));
    }
    return image;
}

// The tick of a checked box: white, drawn over the scheme's accent that fills the box.
QImage Tick() {
    QImage image = Canvas(9, 9, Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(1.5, 4.5), QPointF(3.8, 7), QPointF(7.8, 1.8)}));
    return image;
}

// The drop-down arrow of the selectors: a flat triangle in the scheme's ink.
QImage Arrow(const Scheme& s) {
    QImage image = Canvas(10, 6, Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(s.ink);
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(10, 0), QPointF(5, 6)}));
    return image;
}

// The desktop's icon: the quill on a rounded white tile, transparent around it.
QImage AppIcon(const Scheme& s, int size) {
    QImage image = Canvas(size, size, Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), std::max(1.0, size / 64.0)));
    p.setBrush(s.background);
    const double inset = size / 16.0;
    p.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), size / 6.0, size / 6.0);
    p.end();
    const QImage quill = Title(s, size, size, 0.0);
    QPainter over(&image);
    over.setClipPath([&] {
        QPainterPath tile;
        tile.addRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), size / 6.0, size / 6.0);
        return tile;
    }());
    over.drawImage(QRectF(size * 0.12, size * 0.1, size * 0.8, size * 0.8), quill);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) return 2;
    QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("images"));
    QStringList names;
    auto save = [&](const QString& name, const QImage& image) {
        image.save(out.filePath(QStringLiteral("images/") + name + QStringLiteral(".png")));
        names << name;
    };
    const Scheme light{Qt::white, Qt::black, QColor(0xF2, 0xC1, 0x4E), QString()};
    const Scheme dark{Qt::black, Qt::white, QColor(0x3F, 0x7F, 0xBF), QStringLiteral("Dk")};
    for (const Scheme& s : {light, dark}) {
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("QUILLTitle"), Title(s, 300, 48, 0.62));
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("QUILL"), Title(s, 420, 96, 0.55));
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("House"), Icon(s, House));
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("Family"), Icon(s, Family));
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("Cash"), Icon(s, Cash));
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("Cat"), Icon(s, Cat));
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("Dog"), Icon(s, Dog));
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("Bird"), Icon(s, Bird));
        save(QStringLiteral("IMG") + s.prefix + QStringLiteral("ArrowDown"), Arrow(s));
    }
    {
        QImage tree = Canvas(300, 48, QColor(0x2E, 0x5E, 0x3A));
        QPainter p(&tree);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::white);
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(28);
        font.setItalic(true);
        p.setFont(font);
        p.drawText(tree.rect(), Qt::AlignCenter, QStringLiteral("Family Tree"));
        save(QStringLiteral("IMGFamTree"), tree);
    }
    save(QStringLiteral("IMGUnknown"), Unknown());
    save(QStringLiteral("IMGBadgeNone"), Badge(QColor(0xB0, 0xB0, 0xB0), 0));
    save(QStringLiteral("IMGBadgeBronze"), Badge(QColor(0xCD, 0x7F, 0x32), 1));
    save(QStringLiteral("IMGBadgeSilver"), Badge(QColor(0xC0, 0xC0, 0xC8), 2));
    save(QStringLiteral("IMGBadgeGold"), Badge(QColor(0xE6, 0xB8, 0x2E), 3));
    save(QStringLiteral("IMGCheck"), Check(true));
    save(QStringLiteral("IMGCheckEmpty"), Check(false));
    save(QStringLiteral("IMGTick"), Tick());
    {
        QImage icon = Title(light, 64, 64, 0.0).copy(0, 0, 64, 64);
        save(QStringLiteral("quillhaven"), icon);
    }
    // The desktop's icon in the sizes of the hicolor theme (installed, not part of the library).
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("icons/%1x%1").arg(size);
        out.mkpath(folder);
        if (!AppIcon(light, size).save(out.filePath(folder + QStringLiteral("/org.quillhaven.Quillhaven.png")))) return 1;
    }

    QFile qrc(out.filePath(QStringLiteral("Images.qrc")));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Text)) return 1;
    QTextStream text(&qrc);
    text << "<RCC>\n  <qresource prefix=\"/\">\n";
    for (const QString& name : names) {
        text << "    <file alias=\"" << name << "\">images/" << name << ".png</file>\n";
    }
    text << "  </qresource>\n</RCC>\n";
    return 0;
}
