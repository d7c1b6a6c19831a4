#include "core/menu.h"
#include "core/codes.h"
#include "core/edit.h"

#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/settings.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/vb_list_view.h"

namespace {

void addItem(CtDropMenu *menu, const QString &text, int icon = 0)
{
    const int n = menu->addEntry(text, 0, 0);
    if (icon && gControls)
        menu->setEntryPicture(n, gControls->ctImageMain.icon(0, icon));
}

void addSeparator(CtDropMenu *menu) { menu->addEntry(QString(), 1, 0); }

} // namespace

void subBuildContextMenus()
{
    if (!gControls)
        return;
    CtDropMenuArray &menus = *gControls->ctDropMenuContext;

    // The person menu and the gallery menu offer the same three commands.
    auto fillRecordMenu = [](CtDropMenu *m) {
        m->removeAll();
        addItem(m, QStringLiteral("New"));
        addSeparator(m);
        addItem(m, QStringLiteral("Open"));
        addSeparator(m);
        addItem(m, QStringLiteral("Delete"), 18);
    };
    fillRecordMenu(menus[2]);

    CtDropMenu *m;

    m = menus[4];
    m->removeAll();
    addItem(m, QStringLiteral("Open Events"), 10);
    addSeparator(m);
    addItem(m, QStringLiteral("New &Event"), 10);

    m = menus[1];
    m->removeAll();
    addItem(m, QStringLiteral("Open"));
    addSeparator(m);
    addItem(m, QStringLiteral("Delete"), 18);

    fillRecordMenu(menus[5]);

    m = menus[3];
    m->removeAll();
    addItem(m, QStringLiteral("Import picture"), 20);
    addItem(m, QStringLiteral("Clear picture"), 21);
    addItem(m, QStringLiteral("Save picture"), 22);
    for (Setting key : {Setting::PhotoSite1, Setting::PhotoSite2}) {
        const QString site = settings::text(key);
        if (site.isEmpty())
            continue;
        addSeparator(m);
        addItem(m, funSiteAddress(site), 23);
    }

    m = menus[0];
    m->removeAll();
    if (gSystemDB) {
        auto rs = gSystemDB->openRecordset(
            QStringLiteral("SELECT phone_type_name FROM tbl_phone_type ORDER BY phone_type_sort_order ASC"));
        if (rs && rs->recordCount() > 0) {
            for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
                if (!rs->isNull(QStringLiteral("phone_type_name")))
                    addItem(m, rs->field(QStringLiteral("phone_type_name")).toString());
        }
    }
}

void subMenuPhotoSites(QWidget *form)
{
    auto *w = qobject_cast<frm_main *>(form);
    CtToolBar *bar = w ? w->ctToolBar_MainMenuBar : nullptr;
    if (!bar)
        return;
    const MainMenuItems &m = w->menuItems;
    bar->setItemVisible(m.addAlbums, true);
    bar->setItemVisible(m.photoAlbums, false);
    constexpr Setting keys[3] = {Setting::PhotoSite1, Setting::PhotoSite2, Setting::PhotoSite3};
    const int items[3] = {m.site1, m.site2, m.localFolder};
    for (int i = 0; i < 3; ++i) {
        const QString value = settings::text(keys[i]);
        const int id = items[i];
        if (!value.isEmpty()) {
            bar->setItemVisible(m.addAlbums, false);
            bar->setItemVisible(m.photoAlbums, true);
            // The sites open as web addresses; the local folder as it was typed.
            const QString target = i < 2 ? funSiteAddress(value) : value;
            bar->setItemText(id, target);
            bar->setItemStoredText(id, target);
        }
        bar->setItemVisible(id, !value.isEmpty());
    }
}

void subShowPhotoSiteItems(CtToolBar *bar, const std::array<PhotoSiteItem, 2> &items)
{
    if (!bar)
        return;
    constexpr Setting sites[2] = {Setting::PhotoSite1, Setting::PhotoSite2};
    for (int i = 0; i < 2; ++i) {
        const QString site = settings::text(sites[i]);
        const PhotoSiteItem &item = items[size_t(i)];
        bar->setItemVisible(item.separator, !site.isEmpty());
        bar->setItemVisible(item.entry, !site.isEmpty());
        if (!site.isEmpty())
            bar->setItemStoredText(item.entry, funSiteAddress(site));
    }
}

void subListBarFixedItems(QWidget *form)
{
    auto *main = qobject_cast<frm_main *>(form);
    CtListBar *bar = main ? main->ctListBar_main : nullptr;
    struct Fixed {
        const char *text;
        int view;
        int icon;
    };
    static const Fixed fixed[5] = {{"Printouts", 13, 17},
                                   {"Calendar", 6, 6},
                                   {"Photo Gallery", 20, 31},
                                   {"Address Book", 2, 5},
                                   {"Preferences", 14, 14}};
    for (const Fixed &f : fixed) {
        gListBarCargo.push_back({f.view, 0, QString::fromLatin1(f.text)});
        const int slot = int(gListBarCargo.size()) - 1;
        if (!bar)
            continue;
        bar->addPictureItem(1, QString::fromLatin1(f.text),
                            gControls ? gControls->ctImageMain.icon(0, f.icon) : QIcon(), slot);
    }
}

void subSetToolBar(QWidget *form, int view)
{
    switch (view) {
    case 1: subPetToolBar(form); break;
    case 2: subContactToolBar(form); break;
    case 6: subCalendarToolBar(form); break;
    case 13: subReportToolBar(form); break;
    default: break;
    }
}

// The bar marks what the window shows: the pet whose panel is up, or the
// fixed entry of the view on screen. A place in the bar would not do: a pet
// added or deleted moves every entry below it.
void subMarkListBar()
{
    frm_main *w = gMain;
    if (!w)
        return;
    CtListBar *bar = w->ctListBar_main;
    const int view = w->shownView();
    const qlonglong pet = view == 1 ? w->ListView_Pet->Tag().toLongLong() : 0;
    int mark = 0;
    for (int item = 1; item <= bar->itemCount(1) && mark == 0; ++item) {
        const int slot = bar->itemCargo(1, item);
        if (slot <= 0 || slot >= int(gListBarCargo.size()))
            continue;
        const ListBarItem &entry = gListBarCargo[size_t(slot)];
        const int code = entry.view;
        const qlonglong id = entry.recordID;
        if (view == 1 ? code == 1 && id != 0 && id == pet : view != 0 && code == view && id == 0)
            mark = item;
    }
    bar->setCurrentItem(mark);
}

void subRefreshListBar()
{
    gListBarCargo.assign(1, ListBarItem());
    if (gMain)
        gMain->ctListBar_main->removeAll();
    funPetHandler(gMain, ActionRefresh, 0, QString(), 1);
    subListBarFixedItems(gMain);
    subMarkListBar();
}
