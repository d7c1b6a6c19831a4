#include "events/print_support.h"

#include "core/frm_main.h"
#include "platform/printing.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

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
