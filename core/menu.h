#pragma once
// The menus: the shared context menus, the photo-album entries of the menu bar,
// the list bar's fixed entries and the toolbar of each view.

#include <QString>
#include <array>

class QWidget;
struct PhotoSiteItem;

// Clears and fills the six shared context menus (2, 4, 1, 5, 3, then 0).
void subBuildContextMenus();
// Shows the menu bar's photo-album entries for the stored sites.
void subMenuPhotoSites(QWidget *form);
class CtToolBar;
// The photo-site entries of a detail window's menu bar, for "PhotoSite_1" and
// "PhotoSite_2": each shown with its separator only when its site is set, and
// keeping the site's web address as its stored text.
void subShowPhotoSiteItems(CtToolBar *bar, const std::array<PhotoSiteItem, 2> &items);
// Adds the five fixed entries to the list bar, after the pets.
void subListBarFixedItems(QWidget *form);
// The toolbar of a view, set by the subject that owns the view.
void subSetToolBar(QWidget *form, int view);
// Rebuilds the list bar and its cargo: the pets, then the fixed entries; the
// entry of what the main window shows is the bar's current one.
void subRefreshListBar();
// Makes the list bar's current entry the one of what the main window shows:
// the pet whose panel is up, or the fixed entry of the view.
void subMarkListBar();
