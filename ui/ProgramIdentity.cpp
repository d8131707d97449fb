#include "ProgramIdentity.h"

#include <QApplication>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <future>
#include <memory>

namespace zb {

namespace {
const QString kDesktopEntry = QStringLiteral("io.github.zbsequenta.ZBSequenta");
const QString kIconResource = QStringLiteral(":/zb-sequenta/io.github.zbsequenta.ZBSequenta.svg");

// Drawn into images, which any thread may paint; pixmaps are the GUI
// thread's.
QList<QImage> iconImages()
{
    QSvgRenderer svg(kIconResource);
    QList<QImage> images;
    if (!svg.isValid())
        return images;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        images << image;
    }
    return images;
}

QIcon iconOf(const QList<QImage>& images)
{
    QIcon icon;
    for (const QImage& image : images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}
} // namespace

QIcon programIcon() { return iconOf(iconImages()); }

void applyProgramIdentity() { applyProgramIdentityAhead()(); }

std::function<void()> applyProgramIdentityAhead()
{
    QGuiApplication::setDesktopFileName(kDesktopEntry);
    auto drawing = std::make_shared<std::future<QList<QImage>>>(std::async(std::launch::async, iconImages));
    return [drawing] {
        if (drawing->valid())
            QApplication::setWindowIcon(iconOf(drawing->get()));
    };
}

} // namespace zb
