#include "platform/printing.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>

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
