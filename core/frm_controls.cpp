#include "core/frm_controls.h"
#include "core/codes.h"

#include "platform/dates.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/menu.h"
#include "core/system.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"

#include <QCoreApplication>
#include <QLabel>

frm_controls *gControls = nullptr;

QIcon storeIcon(int index) { return gControls ? gControls->ctImageMain.icon(0, index) : QIcon(); }

frm_controls::frm_controls(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_controls"));
    ctDropMenuContext = new CtDropMenuArray(6, this);
    ctDropMenuContext->setObjectName(QStringLiteral("ctDropMenuContext"));
    connect(ctDropMenuContext, &CtDropMenuArray::itemClick, this, &frm_controls::ctDropMenuContext_ItemClick);
}

frm_controls::~frm_controls()
{
    if (gControls == this)
        gControls = nullptr;
}

void frm_controls::ctDropMenuContext_ItemClick(int menu, int item)
{
    CtDropMenu *m = ctDropMenuContext->menu(menu);
    if (!m)
        return;
    // The window that popped the menu up; the main window for the handlers' own calls.
    QWidget *form = m->owner() ? m->owner() : static_cast<QWidget *>(gMain);
    QWidget *main = gMain;
    const long id = m->tag().toLong();
    switch (menu) {
    case 0: {
        const QString tag = m->tag();
        if (tag != QLatin1String("1") && tag != QLatin1String("2") && tag != QLatin1String("3"))
            return;
        const int n = tag.toInt();
        if (!form)
            return;
        if (auto *label = form->findChild<QLabel *>(QStringLiteral("lblcontact(%1)").arg(n)))
            label->setText(m->entryCaption(item));
        if (auto *box = form->findChild<QWidget *>(QStringLiteral("txtcontact(%1)").arg(8 + n)))
            box->setFocus();
        break;
    }
    case 1:
        if (item == 1) {
            funPetHandler(main, ActionEdit, id, QString(), 1);
        } else if (item == 3) {
            if (funPetHandler(main, ActionDelete, id, QString(), 1)) {
                subRefreshListBar();
                QCoreApplication::processEvents();
                funCalendarHandler(main, ActionShow, zbclock::now());
            }
        }
        break;
    case 2:
        if (item == 1) {
            if (funContactHandler(main, ActionAdd, 0, QString()))
                funContactHandler(main, ActionRefresh, 0, QString());
        } else if (item == 3) {
            // The person may come back renamed.
            if (funContactHandler(main, ActionEdit, id, QString()))
                funContactHandler(main, ActionRefresh, 0, QString());
        } else if (item == 5) {
            VbListView *list = form ? form->findChild<VbListView *>(QStringLiteral("ListView_Contact")) : nullptr;
            VbListItem *selected = list ? list->SelectedItem() : nullptr;
            const QString name = selected ? selected->text() : QString();
            if (funContactHandler(main, ActionDelete, id, name))
                funContactHandler(main, ActionRefresh, 0, QString());
        }
        break;
    case 3:
        if (item == 1) {
            subImportPicture(form);
        } else if (item == 2) {
            subClearPicture(form);
        } else if (item == 3) {
            auto *label = form ? form->findChild<QLabel *>(QStringLiteral("lblPicture")) : nullptr;
            subSavePicture(form, label ? label->text() : QString());
        } else if (item == 5 || item == 7) {
            subShellOpen(form, m->entryCaption(item), QString());
        }
        break;
    case 4: {
        if (item == 1) {
            QVariant day(gCalendarDay);
            funEventHandler(form, ActionEditList, 0, day);
            gCalendarDay = day.toInt();
        } else if (item == 3) {
            funEventHandler(form, ActionAdd, 0, QVariant(funDayNumberToDate(gCalendarDay)));
        }
        auto *cal = form ? form->findChild<CtCalendar *>(QStringLiteral("ctCalendar1")) : nullptr;
        funCalendarHandler(form, ActionRefresh, cal ? QVariant(funDayNumberToDate(cal->Date())) : QVariant());
        break;
    }
    case 5: {
        bool done = false;
        if (item == 1) {
            done = funPictureHandler(main, ActionAdd, 0, QString(), 1);
        } else if (item == 3) {
            done = funPictureHandler(main, ActionEdit, id, QString(), 1);
        } else if (item == 5) {
            VbListItem *selected = gMain ? gMain->ListView_Picture->SelectedItem() : nullptr;
            done = funPictureHandler(main, ActionDelete, id, selected ? selected->text() : QString(), 1);
        } else {
            return;
        }
        if (done)
            funPictureHandler(main, ActionShow, 0, QString(), gListviewPicture);
        break;
    }
    default: break;
    }
}
