#pragma once
// The printer the program prints on, and a window printed as the user sees it.

class QPrinter;
class QWidget;

// The main window's printer (the one Print Setup chose), or, where there is no
// main window, one on the default printer kept for the rest of the run.
QPrinter &funProgramPrinter();

// Prints an image of `form` as it is on screen, at its screen size where the
// page allows and scaled down to the page where it does not; false when the
// printer cannot be painted on.
bool funPrintFormImage(QWidget *form, QPrinter &printer);
