#pragma once
// A window printed as the user sees it.

class QPrinter;
class QWidget;

// Prints an image of `form` as it is on screen, at its screen size where the
// page allows and scaled down to the page where it does not; false when the
// printer cannot be painted on.
bool funPrintFormImage(QWidget *form, QPrinter &printer);
