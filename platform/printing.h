#pragma once
// Starting a print, and a window printed as the user sees it.

class QPainter;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

// Begins `painter` on a printer, a PDF writer or any paged device; false when
// it cannot start. A printer that could not start (no printer, no file to
// print into) is put back to idle: Qt would leave it marked active, and then
// refuse every later change to it, Print to File among them, for as long as
// the program runs.
bool beginPrinting(QPainter &painter, QPagedPaintDevice *device);

// Prints an image of `form` as it is on screen, at its screen size where the
// page allows and scaled down to the page where it does not; false when the
// printer cannot be painted on.
bool funPrintFormImage(QWidget *form, QPrinter &printer);
