#pragma once
// The printer the program prints on, and a window printed as the user sees it.

class QPrinter;
class QWidget;

// The program's printer: the one Print Setup chose, or the default printer.
QPrinter &funProgramPrinter();

// Prints an image of `form` as it is on screen, at its screen size where the
// page allows and scaled down to the page where it does not; false when the
// printer cannot be painted on.
bool funPrintFormImage(QWidget *form, QPrinter &printer);
