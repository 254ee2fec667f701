// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the panel's pictures into a folder, as the PNG files that the program
// bundles. Run by hand after changing a design:
//   cmake --build build --target drawpictures
//   QT_QPA_PLATFORM=offscreen build/drawpictures images
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringDecoder>

#include <cstdio>

namespace {

QImage blank(int width, int height, QColor ground = Qt::transparent)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(ground);
    return image;
}

QList<QRgb> palette(std::initializer_list<QRgb> colours)
{
    return QList<QRgb>(colours);
}

bool save(const QImage &image, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// One toy block seen slightly from above and from the right.
void drawBlock(QPainter &p, QPointF at, qreal side, QColor colour, QChar letter)
{
    const qreal depth = side * 0.3;
    QPolygonF top({at, at + QPointF(depth, -depth), at + QPointF(side + depth, -depth),
                   at + QPointF(side, 0)});
    QPolygonF right({at + QPointF(side, 0), at + QPointF(side + depth, -depth),
                     at + QPointF(side + depth, side - depth), at + QPointF(side, side)});
    p.setPen(QPen(colour.darker(250), 1));
    p.setBrush(colour.lighter(140));
    p.drawPolygon(top);
    p.setBrush(colour.darker(140));
    p.drawPolygon(right);
    const QRectF front(at, QSizeF(side, side));
    p.setBrush(QColor(255, 250, 225));
    p.drawRect(front);
    p.setPen(colour.darker(120));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(int(side * 0.8));
    p.setFont(font);
    p.drawText(front, Qt::AlignCenter, QString(letter));
}

// Designed at 32 px; larger sizes are the same drawing scaled.
QImage windowIcon(int size = 32)
{
    QImage image = blank(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.translate(0.5, 0.5);
    drawBlock(p, QPointF(1, 18), 12, QColor(200, 30, 30), QLatin1Char('A'));
    drawBlock(p, QPointF(16, 18), 12, QColor(30, 70, 200), QLatin1Char('B'));
    drawBlock(p, QPointF(8, 5), 12, QColor(30, 150, 40), QLatin1Char('C'));
    p.end();
    return image;
}

// A pale yellow eraser lying at a slant; ground is black for the panel and
// transparent for the drag icon.
QImage eraser(int size, QColor ground)
{
    QImage image = blank(size, size, ground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(size / 2.0, size / 2.0);
    p.rotate(-35);
    const qreal length = size * 0.86;
    const qreal width = size * 0.42;
    const QRectF body(-length / 2, -width / 2, length, width);
    p.setPen(QPen(QColor(120, 100, 40), size > 20 ? 1.2 : 1.0));
    p.setBrush(QColor(250, 240, 150));
    p.drawRoundedRect(body, 2, 2);
    // The worn end, a shade darker, shows which side rubs out.
    QRectF end = body;
    end.setWidth(length * 0.3);
    p.setBrush(QColor(230, 200, 90));
    p.drawRoundedRect(end, 2, 2);
    p.end();
    return image;
}

// Pictures for dense screens are the same drawing at twice the size, named
// with Qt's "@2x".
QImage letterTile(QChar letter, int scale)
{
    QImage image = blank(30 * scale, 20 * scale, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QRectF tab(0.5, 0.5, 27, 17);
    // Soft shadow: a few widening, fading outlines below and right of the tab.
    for (int i = 3; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 110, 90, 70 + 30 * (3 - i)));
        p.drawRoundedRect(tab.translated(i * 0.7 + 0.6, i * 0.7 + 0.6), 4, 4);
    }
    QLinearGradient face(tab.topLeft(), tab.bottomLeft());
    face.setColorAt(0, QColor(255, 255, 215));
    face.setColorAt(1, QColor(245, 230, 150));
    p.setBrush(face);
    p.setPen(QPen(QColor(190, 170, 90), 1));
    p.drawRoundedRect(tab, 4, 4);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(QColor(0, 0, 220));
    p.drawText(tab, Qt::AlignCenter, QString(letter));
    p.end();
    return image;
}

// A file manager's view of a catalogue: 28 yellow folders in four rows of
// seven, each named by its letter, on grey.
QImage helpPicture(const QList<QChar> &letters, int scale)
{
    QImage image = blank(291 * scale, 175 * scale, QColor(212, 208, 200));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(QColor(128, 128, 128));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(2.5, 2.5, 285, 169));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    p.setFont(font);
    for (int n = 0; n < letters.size(); ++n) {
        const int column = n % 7;
        const int row = n / 7;
        const QPointF at(10 + column * 40.5, 8 + row * 41);
        QPainterPath folder;
        folder.moveTo(at + QPointF(0, 4));
        folder.lineTo(at + QPointF(9, 4));
        folder.lineTo(at + QPointF(12, 7));
        folder.lineTo(at + QPointF(26, 7));
        folder.lineTo(at + QPointF(26, 24));
        folder.lineTo(at + QPointF(0, 24));
        folder.closeSubpath();
        p.setPen(QPen(QColor(170, 130, 20), 1));
        p.setBrush(QColor(250, 215, 90));
        p.drawPath(folder);
        p.setBrush(QColor(255, 230, 120));
        p.drawRect(QRectF(at + QPointF(0, 10), QSizeF(26, 14)));
        p.setPen(Qt::black);
        p.drawText(QRectF(at + QPointF(-6, 25), QSizeF(38, 12)), Qt::AlignCenter,
                   QString(letters.at(n)));
    }
    p.end();
    return image;
}

bool saveProgressiveJpeg(const QImage &image, const QDir &folder, const QString &name)
{
    QImageWriter writer(folder.filePath(name), "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(true);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawpictures FOLDER\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("letters")))
        return 1;

    bool ok = true;
    // The installed application icon, for the hicolor theme.
    folder.mkpath(QStringLiteral("app"));
    for (int size : {32, 48, 64, 128}) {
        ok = save(windowIcon(size).convertToFormat(QImage::Format_ARGB32), folder,
                  QStringLiteral("app/katalog-%1.png").arg(size)) &&
             ok;
    }
    const auto eightColours =
        palette({qRgb(0, 0, 0), qRgb(250, 240, 150), qRgb(230, 200, 90), qRgb(120, 100, 40),
                 qRgb(185, 170, 95), qRgb(60, 50, 20), qRgb(255, 255, 255), qRgb(128, 128, 128)});
    QStringDecoder cp1251("windows-1251");
    for (int scale : {1, 2}) {
        const QString at = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        ok = save(windowIcon(32 * scale).convertToFormat(QImage::Format_ARGB32), folder,
                  QStringLiteral("window-icon%1.png").arg(at)) &&
             ok;
        ok = save(eraser(24 * scale, Qt::black)
                      .convertToFormat(QImage::Format_Indexed8, eightColours),
                  folder, QStringLiteral("eraser%1.png").arg(at)) &&
             ok;
        ok = save(eraser(16 * scale, Qt::transparent).convertToFormat(QImage::Format_ARGB32),
                  folder, QStringLiteral("drag-eraser%1.png").arg(at)) &&
             ok;

        // Tiles are named by the letter's Windows-1251 code.
        QList<QChar> letters;
        for (int code = 192; code <= 223; ++code) {
            if (code == 201 || code == 218 || code == 219 || code == 220)
                continue;
            const char byte = char(code);
            const QString letter = cp1251.decode(QByteArrayView(&byte, 1));
            letters.append(letter.at(0));
            const QImage tile = letterTile(letter.at(0), scale)
                                    .convertToFormat(QImage::Format_Indexed8,
                                                     Qt::ThresholdDither | Qt::AvoidDither);
            ok = save(tile, folder, QStringLiteral("letters/%1%2.png").arg(code).arg(at)) && ok;
        }
        ok = saveProgressiveJpeg(helpPicture(letters, scale), folder,
                                 QStringLiteral("help%1.jpg").arg(at)) &&
             ok;
    }
    return ok ? 0 : 1;
}
