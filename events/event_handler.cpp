#include "events/event_handler.h"

#include "core/dates.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "events/frm_event_list.h"
#include "events/print_support.h"
#include "platform/controls/ct_list.h"
#include "platform/dialogs.h"

#include <QLocale>
#include <QPrinter>

namespace event_handler {

bool funEventHandler(QWidget *form, int action, long eventID, QVariant &date)
{
    switch (action) {
    case 1: return funEventAdd(form, date);
    case 2: return funRecordEdit(form, eventID);
    case 3:
    case 20: return funEventDelete(form, action, eventID);
    case 6: return funEventValidate(form);
    case 7: return funEventPrint(form);
    case 17: return funEventEditList(form, date);
    default:
        ui::dialogs().msgBox(form, QStringLiteral("Invalid function (%1) specified in funEventHandler").arg(action),
                             ui::OKOnly);
        return false;
    }
}

bool funEventAdd(QWidget *, const QVariant &)
{
    // The event editor is not yet part of the program: no event can be added.
    return false;
}

bool funRecordEdit(QWidget *, long)
{
    // The event editor is not yet part of the program: no event can be opened.
    return false;
}

bool funEventDelete(QWidget *form, int action, long eventID)
{
    // The editor's own row (code 20) goes with the editor, which is not yet
    // part of the program; only a delete by id is possible.
    if (action != 3)
        return false;
    const int answer = ui::dialogs().msgBox(form, QStringLiteral("Are you sure you want to delete this event?"),
                                            ui::YesNo | ui::Question | ui::DefaultButton2,
                                            QStringLiteral("Confirm Delete"));
    if (answer != ui::Yes)
        return false;
    if (!gDataDB) {
        ui::errorReport(db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."),
                        QStringLiteral("funEventDelete"));
        return false;
    }
    if (!gDataDB->execute(QStringLiteral("DELETE FROM tbl_event WHERE event_id = ?"), {qlonglong(eventID)})) {
        ui::errorReport(gDataDB->lastError().number, gDataDB->lastError().description,
                        QStringLiteral("funEventDelete"));
        return false;
    }
    return true;
}

bool funEventValidate(QWidget *)
{
    // The fields to check are the event editor's, which is not yet part of the program.
    return false;
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
    const int day = type == QMetaType::QDate || type == QMetaType::QDateTime ? funDateToDayNumber(dayArg)
                                                                             : dayArg.toInt();
    if (day == 0)
        return false;
    const QDate date = funDayNumberToDate(day);
    QWidget *owner = gMain ? static_cast<QWidget *>(gMain) : form;

    frm_event_list list(owner);
    for (size_t i = 1; i < gCalendarItems.size(); ++i) {
        const QVariantList &item = gCalendarItems[i];
        if (item.size() < 6 || item[0].toInt() != day)
            continue;
        QString name = item[4].toString();
        name.replace(QLatin1String("\r\n"), QLatin1String(" "));
        const int kind = item[1].toInt();
        QIcon icon;
        if (gControls)
            icon = kind == 8 ? gControls->ctImageMain.icon(0, 8) : gControls->ctImageMain.icon(1, item[3].toInt());
        list.addItemRow(name, item[5].toString(), kind, item[2], icon);
    }
    if (list.ctList1->RowCount() == 0)
        return true;

    list.setWindowTitle(QStringLiteral("Events:  ") + QLocale().toString(date, QStringLiteral("dddd, MMMM d, yyyy")));
    if (gControls)
        list.setWindowIcon(gControls->ctImageMain.icon(0, 6));
    list.exec();
    funCalendarHandler(owner, 5, date);
    return true;
}

} // namespace event_handler
