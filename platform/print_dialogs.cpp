// The print and page set-up dialogs of the dialogs layer, real and scripted.

#include "platform/dialogs.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace ui {

bool Dialogs::printDialog(QWidget *, QPrinter &) { return false; }
bool Dialogs::pageSetupDialog(QWidget *, QPrinter &) { return false; }

bool QtDialogs::printDialog(QWidget *owner, QPrinter &printer)
{
    QPrintDialog dlg(&printer, ownerWindow(owner));
    return dlg.exec() == QDialog::Accepted;
}

bool QtDialogs::pageSetupDialog(QWidget *owner, QPrinter &printer)
{
    QPageSetupDialog dlg(&printer, ownerWindow(owner));
    return dlg.exec() == QDialog::Accepted;
}

bool ScriptedDialogs::printDialog(QWidget *, QPrinter &printer)
{
    Shown s;
    s.kind = Print;
    s.text = QStringLiteral("Print");
    s.title = s.text;
    s.printerName = printer.printerName();
    const QVariant v = next();
    bool ok = false;
    if (v.typeId() == QMetaType::QString) {
        // A path: the test prints into that PDF file, as "Print to File" would.
        ok = !v.toString().isEmpty();
        if (ok) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(v.toString());
        }
    } else if (v.isValid()) {
        ok = v.toBool();
    }
    s.answer = ok;
    m_shown.push_back(s);
    return ok;
}

bool ScriptedDialogs::pageSetupDialog(QWidget *, QPrinter &printer)
{
    Shown s;
    s.kind = PageSetup;
    s.text = QStringLiteral("Page Setup");
    s.title = s.text;
    s.printerName = printer.printerName();
    const QVariant v = next();
    bool ok = false;
    if (v.typeId() == qMetaTypeId<QPageLayout>()) {
        ok = printer.setPageLayout(v.value<QPageLayout>());
    } else if (v.isValid()) {
        ok = v.toBool();
    }
    s.answer = ok;
    m_shown.push_back(s);
    return ok;
}

} // namespace ui
