#pragma once
// Starting a print.

class QPainter;
class QPagedPaintDevice;

// Begins `painter` on a printer, a PDF writer or any paged device; false when
// it cannot start. A printer that could not start (no printer, no file to
// print into) is put back to idle: Qt would leave it marked active, and then
// refuse every later change to it, Print to File among them, for as long as
// the program runs.
bool beginPrinting(QPainter &painter, QPagedPaintDevice *device);
