#include "platform/printing.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

bool beginPrinting(QPainter &painter, QPagedPaintDevice *device)
{
    if (!device)
        return false;
    if (painter.begin(device))
        return true;
    auto *printer = dynamic_cast<QPrinter *>(device);
    if (printer && printer->printerState() == QPrinter::Active && !printer->paintingActive()) {
        // Ending the engine that never started closes what it opened and
        // leaves the printer idle, ready for other settings.
        if (QPaintEngine *engine = printer->paintEngine())
            engine->end();
    }
    return false;
}

bool funPrintFormImage(QWidget *form, QPrinter &printer)
{
    if (!form)
        return false;
    const QPixmap image = form->grab();
    QPainter p;
    if (image.isNull() || !beginPrinting(p, &printer))
        return false;
    // Screen pixels to printer dots, so the window prints at its own size.
    const qreal screenDpi = form->logicalDpiX() > 0 ? form->logicalDpiX() : 96;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    qreal scale = printer.resolution() / screenDpi;
    const QSizeF wanted = QSizeF(image.size()) * scale;
    if (wanted.width() > page.width() || wanted.height() > page.height())
        scale *= qMin(page.width() / wanted.width(), page.height() / wanted.height());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(QRectF(QPointF(0, 0), QSizeF(image.size()) * scale), image, QRectF(image.rect()));
    return p.end();
}
