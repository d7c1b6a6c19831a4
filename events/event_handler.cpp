#include "events/event_handler.h"
#include "core/codes.h"

#include "platform/dates.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/menu.h"
#include "events/frm_event_detail.h"
#include "events/frm_event_list.h"
#include "platform/controls/ct_list.h"
#include "platform/clock.h"
#include "platform/controls/data_control.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/vb_image.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"
#include "platform/printing.h"

#include <QCheckBox>
#include <QLineEdit>

#include <QLocale>
#include <QPrinter>

namespace event_handler {

namespace {

void reportError(const db::DbError &e, const char *routine)
{
    ui::errorReport(e.number, e.description, QString::fromLatin1(routine));
}

// The editor's picture and icon, then the editor itself, modal over its owner.
void showEditor(frm_event_detail &editor)
{
    if (gControls) {
        editor.ImageMain->setPicture(gControls->ctImageMain.picture(0, 11));
        editor.setWindowIcon(gControls->ctImageMain.icon(0, 1));
    }
    editor.exec();
}

} // namespace

bool funEventHandler(QWidget *form, int action, long eventID, QVariant &date)
{
    switch (action) {
    case ActionAdd: return funEventAdd(form, date);
    case ActionEdit: return funRecordEdit(form, eventID);
    case ActionDelete:
    case ActionDeleteBound: return funEventDelete(form, action, eventID);
    case ActionValidate: return funEventValidate(form);
    case ActionPrint: return funEventPrint(form);
    case ActionEditList: return funEventEditList(form, date);
    default:
        ui::dialogs().msgBox(form, QStringLiteral("Invalid function (%1) specified in funEventHandler").arg(action),
                             ui::OKOnly);
        return false;
    }
}

bool funEventAdd(QWidget *form, const QVariant &dateArg)
{
    gCurrentView = 8;
    subSetToolBar(form, 8);
    QDate date = anyDate(dateArg);
    if (!date.isValid())
        date = zbclock::today();

    frm_event_detail editor(form);
    editor.DataDetail->setRecordSource(QStringLiteral("SELECT * FROM tbl_event WHERE event_id = 0"));
    if (!editor.DataDetail->refresh() || !editor.DataDetail->addNew()) {
        reportError(editor.DataDetail->lastError(), "funEventAdd");
        return false;
    }
    editor.subNewEvent(date);
    editor.setWindowTitle(QStringLiteral("New Event"));
    showEditor(editor);
    return true;
}

bool funRecordEdit(QWidget *form, long eventID)
{
    if (eventID == 0)
        return false;
    Hourglass hourglass;
    frm_event_detail editor(form);
    editor.DataDetail->setRecordSource(QStringLiteral("SELECT * FROM tbl_event WHERE event_id = ?"),
                                       {qlonglong(eventID)});
    if (!editor.DataDetail->refresh()) {
        hourglass.release();
        reportError(editor.DataDetail->lastError(), "funRecordEdit");
        return false;
    }
    if (editor.DataDetail->recordCount() == 0) {
        hourglass.release();
        ui::dialogs().msgBox(form, QStringLiteral("Event not found, may have been deleted."), ui::Information,
                             QStringLiteral("Error"));
        return false;
    }
    editor.DataDetail->edit();
    const QVariant name = editor.DataDetail->field(QStringLiteral("event_name"));
    editor.setWindowTitle(frm_event_detail::titleFor(name));
    hourglass.release();
    showEditor(editor);
    return true;
}

bool funEventDelete(QWidget *form, int action, long eventID)
{
    const int answer =
        ui::dialogs().msgBox(form, QStringLiteral("Are you sure you want to delete this event?"),
                             ui::YesNo | ui::Question | ui::DefaultButton2, QStringLiteral("Confirm Delete"));
    if (answer != ui::Yes)
        return false;
    if (action == 20) {
        // The editor's own row, through its data control.
        DataControl *row = form ? form->findChild<DataControl *>(QStringLiteral("DataDetail")) : nullptr;
        if (!row) {
            reportError({db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set.")}, "funEventDelete");
            return false;
        }
        if (!row->remove()) {
            reportError(row->lastError(), "funEventDelete");
            return false;
        }
        return true;
    }
    if (!gDataDB) {
        reportError({db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set.")}, "funEventDelete");
        return false;
    }
    if (!gDataDB->execute(QStringLiteral("DELETE FROM tbl_event WHERE event_id = ?"), {qlonglong(eventID)})) {
        reportError(gDataDB->lastError(), "funEventDelete");
        return false;
    }
    return true;
}

bool funEventValidate(QWidget *form)
{
    auto *name = form ? form->findChild<QLineEdit *>(QStringLiteral("txtevent_name")) : nullptr;
    auto *repeating = form ? form->findChild<QCheckBox *>(QStringLiteral("Check1(1)")) : nullptr;
    auto *datePicker = form ? form->findChild<DatePicker *>(QStringLiteral("DTPickerEvent(0)")) : nullptr;
    auto *untilPicker = form ? form->findChild<DatePicker *>(QStringLiteral("DTPickerEvent(2)")) : nullptr;
    if (!name || !repeating || !datePicker || !untilPicker) {
        reportError({424, QStringLiteral("Object required")}, "funEventValidate");
        return false;
    }
    auto refuse = [form](QWidget *field, const QString &text, const QString &title) {
        ui::dialogs().msgBox(form, text, ui::Information, title);
        // An empty date picker takes the focus on the box that gives it a date.
        auto *picker = qobject_cast<DatePicker *>(field);
        if (picker && picker->isNull() && picker->CheckBox())
            picker->checkBox()->setFocus();
        else
            field->setFocus();
        return false;
    };
    if (name->text() == QString())
        return refuse(name, QStringLiteral("Please enter a name for this event"), QStringLiteral("Event Name"));
    // Every event needs its day, a single one as much as a repeating one: the
    // calendar and the reminders place an event by it.
    const QDate date = dateFromDb(datePicker->Value());
    if (!date.isValid())
        return refuse(datePicker, QStringLiteral("Please select a Date for this event."), QStringLiteral("Event Date"));
    if (!repeating->isChecked())
        return true;
    const QDate until = dateFromDb(untilPicker->Value());
    if (!until.isValid())
        return refuse(untilPicker,
                      QStringLiteral("Please select an Until Date for this event, or change to a non repeating event."),
                      QStringLiteral("Event Date"));
    if (date > until)
        return refuse(untilPicker, QStringLiteral("Please select an Until Date that is after the event Date."),
                      QStringLiteral("Event Date"));
    return true;
}

bool funEventPrint(QWidget *form)
{
    if (!funPrintFormImage(form, funProgramPrinter()))
        ui::errorReport(482, QStringLiteral("Printer error"), QStringLiteral("funEventPrint"));
    // The editor that asks does not read the answer; it has never been True.
    return false;
}

bool funEventEditList(QWidget *form, const QVariant &dayArg)
{
    const int type = dayArg.typeId();
    const int day =
        type == QMetaType::QDate || type == QMetaType::QDateTime ? funDateToDayNumber(dayArg) : dayArg.toInt();
    if (day == 0)
        return false;
    const QDate date = funDayNumberToDate(day);
    QWidget *owner = gMain ? static_cast<QWidget *>(gMain) : form;

    frm_event_list list(owner);
    for (size_t i = 0; i < gCalendarItems.size(); ++i) {
        if (gCalendarItems.day(i) != day)
            continue;
        const CalendarItem &item = gCalendarItems[i];
        QString name = item.name;
        name.replace(QLatin1String("\r\n"), QLatin1String(" "));
        QIcon icon;
        if (gControls)
            icon = item.kind == 8 ? gControls->ctImageMain.icon(0, 8) : gControls->ctImageMain.icon(1, item.species);
        list.addItemRow(name, item.due, item.kind, item.recordID, icon);
    }
    if (list.ctList1->RowCount() == 0)
        return true;

    list.setWindowTitle(QStringLiteral("Events:  ") + QLocale().toString(date, QStringLiteral("dddd, MMMM d, yyyy")));
    if (gControls)
        list.setWindowIcon(gControls->ctImageMain.icon(0, 6));
    list.exec();
    funCalendarHandler(owner, ActionShow, date);
    return true;
}

} // namespace event_handler
