#include "records/contact_handler.h"
#include "core/codes.h"

#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/system.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/vb_list_view.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"
#include "platform/printing.h"
#include "records/frm_contact_detail.h"

#include <QCoreApplication>
#include <QLabel>
#include <QRegularExpression>
#include <memory>

namespace contact_handler {

namespace {

void reportError(const db::DbError &e, const char *routine)
{
    ui::errorReport(e.number, e.description, QLatin1String(routine));
}

QString textOf(const QVariant &v) { return v.isNull() ? QString() : v.toString(); }

// The person window's picture and icon, then the window itself, modal over its owner.
void showWindow(frm_contact_detail &w)
{
    if (gControls) {
        w.setWindowIcon(gControls->ctImageMain.icon(0, 1));
        w.ImageMain->setPixmap(gControls->ctImageMain.picture(0, 3).scaled(w.ImageMain->size(), Qt::KeepAspectRatio,
                                                                           Qt::SmoothTransformation));
    }
    w.exec();
}

} // namespace

bool funContactHandler(QWidget *frm, int code, long contactID, const QString &text)
{
    switch (code) {
    case ActionAdd: return funContactAdd(frm);
    case ActionEdit: return funContactEdit(frm, contactID);
    case ActionDelete:
    case ActionDeleteBound: return funContactDelete(frm, code, contactID, text);
    case ActionShow: return funContactListShow(frm);
    case ActionValidate: return funContactValidate(frm);
    case ActionPrint: return funContactPrintForm(frm);
    case ActionMailTo:
    case ActionVisitSite: return funContactRun(frm, text);
    case ActionRefresh: return funContactRefreshList(frm);
    case ActionPrintList: return funContactPrintList(frm);
    default:
        ui::dialogs().msgBox(frm, QStringLiteral("Invalid function specified in funContactHandler"), ui::OKOnly);
        return false;
    }
}

QString funContactListName(const QVariant &name)
{
    const QString text = textOf(name);
    return text.isEmpty() ? QStringLiteral("(None)") : text;
}

QString funContactPrimaryPhone(const QVariant &type, const QVariant &number)
{
    QString text;
    if (!type.isNull())
        text = type.toString() + QLatin1Char(' ');
    if (!number.isNull())
        text += number.toString();
    return text;
}

QString funContactAddress(const QString &text)
{
    const QString trimmed = text.trimmed();
    // A name, "@", and a host with no path: an e-mail address as people write them.
    static const QRegularExpression mailRx(QStringLiteral("^[^@/:\\s]+@[^@/:\\s]+$"));
    if (mailRx.match(trimmed).hasMatch())
        return QStringLiteral("mailto:") + trimmed;
    return trimmed;
}

bool funContactAdd(QWidget *frm, long *addedID)
{
    if (addedID)
        *addedID = 0;
    if (!gDataDB)
        return false;
    Hourglass hourglass;
    gCurrentView = 2;
    frm_contact_detail w(frm);
    w.DataDetail->setRecordSource(QStringLiteral("SELECT * FROM tbl_contact WHERE contact_id = 0"));
    if (!w.DataDetail->refresh() || !w.DataDetail->addNew()) {
        const db::DbError error = w.DataDetail->lastError();
        hourglass.release();
        reportError(error, "funContactAdd");
        return false;
    }
    w.setWindowTitle(QStringLiteral("New Person"));
    w.subNewContact();
    hourglass.release();
    showWindow(w);
    if (addedID)
        *addedID = w.savedRecordID();
    return true;
}

bool funContactEdit(QWidget *frm, long contactID)
{
    if (contactID == 0 || !gDataDB)
        return false;
    Hourglass hourglass;
    gCurrentView = 2;
    frm_contact_detail w(frm);
    w.DataDetail->setRecordSource(QStringLiteral("SELECT * FROM tbl_contact WHERE contact_id = ?"),
                                  {qlonglong(contactID)});
    if (!w.DataDetail->refresh()) {
        const db::DbError error = w.DataDetail->lastError();
        hourglass.release();
        reportError(error, "funContactEdit");
        return false;
    }
    if (w.DataDetail->recordCount() == 0) {
        hourglass.release();
        ui::dialogs().msgBox(frm, QStringLiteral("Person not found, may have been deleted."), ui::Information,
                             QStringLiteral("Error"));
        return false;
    }
    // The window edits this one row for its whole life.
    w.DataDetail->edit();
    w.setWindowTitle(funContactListName(w.DataDetail->field(QStringLiteral("contact_name"))));
    hourglass.release();
    showWindow(w);
    return true;
}

bool funContactDelete(QWidget *frm, int code, long contactID, const QString &name)
{
    const int answer =
        ui::dialogs().msgBox(frm, QStringLiteral("Are you sure you want to delete \"") + name + QStringLiteral("\"?"),
                             ui::YesNo | ui::Question | ui::DefaultButton2, QStringLiteral("Confirm Delete"));
    if (answer != ui::Yes)
        return false;
    // The pets and vaccinations that name the person keep the id, which is
    // never given again: their lists show no one there.
    if (code == 20) {
        DataControl *row = frm ? frm->findChild<DataControl *>(QStringLiteral("DataDetail")) : nullptr;
        if (!row) {
            ui::errorReport(db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."));
            return false;
        }
        if (!row->remove()) {
            ui::errorReport(row->lastError().number, row->lastError().description);
            return false;
        }
        return true;
    }
    if (!gDataDB) {
        ui::errorReport(db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."));
        return false;
    }
    if (!gDataDB->execute(QStringLiteral("DELETE FROM tbl_contact WHERE contact_id = ?"), {qlonglong(contactID)})) {
        ui::errorReport(gDataDB->lastError().number, gDataDB->lastError().description);
        return false;
    }
    return true;
}

bool funContactListShow(QWidget *frm)
{
    frm_main *w = funMainWindow(frm);
    if (!w)
        return false;
    Hourglass hourglass;
    // The frame, gCurrentView = 2 and the address book's toolbar.
    w->showView(2);
    QCoreApplication::processEvents();
    return funContactRefreshList(w);
}

bool funContactRefreshList(QWidget *frm)
{
    frm_main *w = funMainWindow(frm);
    if (!w || !gDataDB)
        return false;
    VbListView *list = w->ListView_Contact;
    list->clearItems();
    auto rs = gDataDB->openRecordset(QStringLiteral(
        "SELECT contact_id, contact_name, contact_ph_1, contact_ph_1_type, contact_email FROM tbl_contact "
        "ORDER BY contact_name ASC, contact_id ASC"));
    if (!rs) {
        ui::errorReport(gDataDB->lastError().number, gDataDB->lastError().description);
        return false;
    }
    for (; !rs->isEOF(); rs->moveNext()) {
        VbListItem *item = list->addItem(QString(), funContactListName(rs->field(1)), 1, 1);
        item->setSubItems(1, funContactPrimaryPhone(rs->field(3), rs->field(2)));
        item->setSubItems(2, textOf(rs->field(4)));
        item->setTag(rs->field(0).isNull() ? qlonglong(0) : rs->field(0).toLongLong());
    }
    return true;
}

bool funContactValidate(QWidget *frm)
{
    QWidget *name = frm ? frm->findChild<QWidget *>(QStringLiteral("txtcontact(0)")) : nullptr;
    if (!name) {
        ui::errorReport(424, QStringLiteral("Object required"), QStringLiteral("funContactValidate"));
        return false;
    }
    if (name->property("text").toString() == QString()) {
        ui::dialogs().msgBox(frm, QStringLiteral("Please enter a contact name"), ui::Information,
                             QStringLiteral("Contact Name"));
        name->setFocus();
        return false;
    }
    return true;
}

bool funContactPrintForm(QWidget *frm)
{
    if (!funPrintFormImage(frm, funProgramPrinter()))
        ui::errorReport(482, QStringLiteral("Printer error"));
    // The window that asks does not read the answer.
    return false;
}

bool funContactRun(QWidget *frm, const QString &text)
{
    if (!text.isEmpty())
        subShellOpen(frm, funContactAddress(text), QString());
    return true;
}

bool funContactPrintList(QWidget *frm) { return funReportHandler(frm, ActionOpenReport, 2, 0, false); }

void subContactToolBar(QWidget *frm)
{
    frm_main *w = funMainWindow(frm);
    if (!w)
        return;
    CtToolBar *tb = w->ctToolbar_MainToolbar;
    const MainToolItems &t = w->toolItems;
    for (int id : {t.sepPrint, t.print, t.sepDelete, t.del})
        tb->setItemVisible(id, true);
    for (int id : t.viewGroup())
        tb->setItemVisible(id, true);
    tb->setItemEnabled(t.print, true);
    tb->setItemEnabled(t.del, false);
    w->ListView_Contact->setView(gListviewAddress);
    w->markViewButton(w->ListView_Contact->View());
    for (int id : t.calendarGroup())
        tb->setItemVisible(id, false);
}

} // namespace contact_handler
