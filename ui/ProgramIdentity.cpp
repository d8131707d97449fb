#include "ProgramIdentity.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace zb {

namespace {
const QString kDesktopEntry = QStringLiteral("io.github.zbsequenta.ZBSequenta");
const QString kIconResource = QStringLiteral(":/zb-sequenta/io.github.zbsequenta.ZBSequenta.svg");
} // namespace

QIcon programIcon()
{
    QSvgRenderer svg(kIconResource);
    QIcon icon;
    if (!svg.isValid())
        return icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void applyProgramIdentity()
{
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(kDesktopEntry);
}

} // namespace zb
