#include "records/pet_handler.h"
#include "core/codes.h"
#include "core/database.h"

#include "platform/dates.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/menu.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"
#include "printouts/report_handler.h"
#include "records/frm_pet_add.h"
#include "records/frm_pet_detail.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <memory>
#include <vector>

namespace pet_handler {

namespace {

// The panel's pictures carry this key in the image lists, so that a new fill
// can drop the last one's and keep what start-up put before them.
const QString kPanelImage = QStringLiteral("pet panel");

// The list bar's name for a pet without one.
const QString kNoPetName = QStringLiteral("(None)");

QString nameOr(const QVariant &name, const QString &none)
{
    const QString text = name.isNull() ? QString() : name.toString();
    return text.isEmpty() ? none : text;
}

void reportDbError(const db::DbError &e, const char *routine)
{
    ui::errorReport(e.number, e.description, QLatin1String(routine));
}

// Empties the image list of the panel's pictures from the last fill.
void dropPanelImages(VbImageList *list)
{
    const int first = list->indexOf(kPanelImage);
    if (first == 0)
        return;
    QList<QIcon> kept;
    for (int i = 1; i < first; ++i)
        kept << list->picture(i);
    list->clear();
    for (const QIcon &icon : kept)
        list->add(icon);
}

// Appends one picture to each of the panel's image lists; the index they took.
struct PanelIcons {
    int large, small;
};
PanelIcons addPanelIcons(frm_main *w, const QIcon &large, const QIcon &small)
{
    return {w->ImageListpet_large->add(large, kPanelImage), w->ImageListpet_small->add(small, kPanelImage)};
}

VbListItem *addPanelItem(VbListView *list, const QString &key, const QString &text, const QString &description, int tag,
                         PanelIcons icons)
{
    VbListItem *item = list->addItem(key, text, icons.large, icons.small);
    item->setSubItems(1, description);
    item->setTag(tag);
    return item;
}

// The pet's own picture file, once no record refers to it any more; a name
// that is not a plain file name of the pictures folder is never followed.
void deletePictureFile(const QString &name)
{
    if (name.isEmpty() || QFileInfo(name).fileName() != name || name == QLatin1String("..")
        || name == QLatin1String("."))
        return;
    auto rs = gDataDB->openRecordset(
        QStringLiteral("SELECT pet_id FROM tbl_pet WHERE pet_picture = ? "
                       "UNION ALL SELECT picture_id FROM tbl_picture WHERE picture_filename = ?"),
        {name, name});
    if (!rs || rs->recordCount() > 0)
        return;
    const QString path = gPicturePath + name;
    if (QFileInfo(path).isFile())
        QFile::remove(path);
}

} // namespace

bool funPetHandler(QWidget *frm, int code, long petID, const QString &, int tab)
{
    switch (code) {
    case ActionAdd: return funPetAdd(frm);
    case ActionEdit: return funPetEdit(frm, petID, tab);
    case ActionDelete: return funPetDelete(frm, petID);
    case ActionShow: return funPetShow(frm, petID);
    case ActionValidate: return funPetGetValidate(frm);
    case ActionPrint:
        // The pet's details printout, for this pet; the viewer is the answer.
        funReportHandler(frm, ActionOpenReport, 6, petID, true);
        return false;
    case ActionRefresh: return funPetRefreshList(frm);
    default:
        ui::dialogs().msgBox(frm, QStringLiteral("Invalid function specified in funPetHandler"), ui::OKOnly);
        return false;
    }
}

QIcon funSpeciesIcon(long speciesID)
{
    if (!gControls)
        return {};
    const CtImage &store = gControls->ctImageMain;
    return store.hasPicture(1, int(speciesID)) ? store.icon(1, int(speciesID)) : store.icon(0, 1);
}

QString funPetGetDefault(int code, const QVariant &species)
{
    switch (code) {
    case 1: return funGetSystemText(QStringLiteral("SELECT default_feeding_rtf FROM tbl_defaults"));
    case 2: return funGetSystemText(QStringLiteral("SELECT default_care_rtf FROM tbl_defaults"));
    case 3: return funGetSystemText(QStringLiteral("SELECT default_feeding_text FROM tbl_defaults"));
    case 4: return funGetSystemText(QStringLiteral("SELECT default_care_text FROM tbl_defaults"));
    case 5: return funGetSpeciesName(species);
    default: return {};
    }
}

bool funPetAdd(QWidget *frm)
{
    std::optional<NewPet> pet;
    {
        frm_pet_add prompt(frm);
        prompt.setWindowTitle(QStringLiteral("Add New Pet"));
        prompt.setWindowIcon(storeIcon(1));
        prompt.exec();
        pet = prompt.answer();
    }
    if (!pet || pet->species <= 0 || !gDataDB)
        return false;

    Hourglass hourglass;
    const QString feedingRtf = funPetGetDefault(1);
    const QString feeding = funPetGetDefault(3);
    const QString careRtf = funPetGetDefault(2);
    const QString care = funPetGetDefault(4);
    const bool ok = gDataDB->execute(
        QStringLiteral("INSERT INTO tbl_pet (pet_species_id, pet_name, pet_feeding, pet_feeding_rtf, pet_care, "
                       "pet_care_rtf) VALUES (?, ?, ?, ?, ?, ?)"),
        {qlonglong(pet->species), pet->name, feeding, feedingRtf, care, careRtf});
    hourglass.release();
    if (!ok) {
        reportDbError(gDataDB->lastError(), "funPetAdd");
        return false;
    }
    if (gDataDB->recordsAffected() != 1)
        return false;
    const long id = long(gDataDB->lastInsertId().toLongLong());
    // Through the installed routines, as every caller opens a pet.
    return ::funPetHandler(frm, ActionEdit, id, QString(), 1);
}

frm_pet_detail *funPetEditWindow(QWidget *frm, long petID, int tab)
{
    if (petID == 0 || !gDataDB)
        return nullptr;
    Hourglass hourglass;
    gPetDetailTab = tab;
    auto w = std::make_unique<frm_pet_detail>(frm);
    w->DataDetail->setRecordSource(QStringLiteral("SELECT * FROM tbl_pet WHERE pet_id = ?"), {qlonglong(petID)});
    if (!w->DataDetail->refresh()) {
        const db::DbError error = w->DataDetail->lastError();
        hourglass.release();
        reportDbError(error, "funPetEdit");
        return nullptr;
    }
    if (w->DataDetail->recordCount() == 0) {
        hourglass.release();
        ui::dialogs().msgBox(frm, QStringLiteral("Pet not found, may have been deleted."), ui::Information,
                             QStringLiteral("Error"));
        return nullptr;
    }
    // The window edits this one row for its whole life.
    w->DataDetail->edit();
    w->setWindowTitle(QStringLiteral("Pet Details - ") + w->DataDetail->field(QStringLiteral("pet_name")).toString());
    w->setWindowIcon(storeIcon(1));
    w->subPetDetailLoad(petID);
    return w.release();
}

bool funPetEdit(QWidget *frm, long petID, int tab)
{
    std::unique_ptr<frm_pet_detail> w(funPetEditWindow(frm, petID, tab));
    if (!w)
        return false;
    w->exec();
    return true;
}

bool funPetDelete(QWidget *frm, long petID)
{
    if (!gDataDB)
        return false;
    // The name as the list bar shows it, read from the record: a pet just
    // added is not in the list bar yet.
    QString name;
    if (auto rs =
            gDataDB->openRecordset(QStringLiteral("SELECT pet_name FROM tbl_pet WHERE pet_id = ?"), {qlonglong(petID)});
        rs && !rs->isEOF())
        name = nameOr(rs->field(QStringLiteral("pet_name")), kNoPetName);
    const int answer = ui::dialogs().msgBox(
        frm, QStringLiteral("Are you sure you want to delete \"") + name + QStringLiteral("\" and his/her pictures?"),
        ui::YesNo | ui::Question | ui::DefaultButton2, QStringLiteral("Confirm Delete"));
    if (answer != ui::Yes)
        return false;

    // The rows go first, all or none (the vaccinations, diary, commands and
    // properties with the pet, by the file's cascade); the file only once they
    // are gone, so a failed delete never leaves a pet without its picture.
    Hourglass hourglass;
    QString picture;
    bool ok = gDataDB->transaction();
    if (ok) {
        auto rs = gDataDB->openRecordset(QStringLiteral("SELECT pet_picture FROM tbl_pet WHERE pet_id = ?"),
                                         {qlonglong(petID)});
        ok = rs != nullptr;
        if (ok && rs->recordCount() == 1 && !rs->isNull(QStringLiteral("pet_picture")))
            picture = rs->field(QStringLiteral("pet_picture")).toString();
        ok =
            ok
            && gDataDB->execute(QStringLiteral("DELETE FROM tbl_picture WHERE picture_pet_id = ?"), {qlonglong(petID)});
        ok = ok && gDataDB->execute(QStringLiteral("DELETE FROM tbl_pet WHERE pet_id = ?"), {qlonglong(petID)});
        ok = ok && gDataDB->commit();
    }
    if (!ok) {
        const db::DbError error = gDataDB->lastError();
        gDataDB->rollback();
        hourglass.release();
        reportDbError(error, "funPetDelete");
        return false;
    }
    deletePictureFile(picture);
    hourglass.release();
    funCalendarHandler(frm, ActionShow, QVariant());
    return true;
}

bool funPetShow(QWidget *frm, long petID)
{
    frm_main *w = funMainWindow(frm);
    if (!w || !gDataDB)
        return false;
    auto pet = gDataDB->openRecordset(QStringLiteral("SELECT pet_name, pet_species_id FROM tbl_pet WHERE pet_id = ?"),
                                      {qlonglong(petID)});
    if (!pet) {
        reportDbError(gDataDB->lastError(), "funPetHandler");
        return false;
    }
    VbListView *list = w->ListView_Pet;
    list->clearItems();
    dropPanelImages(w->ImageListpet_large);
    dropPanelImages(w->ImageListpet_small);
    w->showView(1);

    QString name;
    if (pet->isEOF()) {
        // Nothing to act on: no entries, and no pet for Print or Delete.
        list->setTag(QVariant());
    } else {
        name = nameOr(pet->field(QStringLiteral("pet_name")), QStringLiteral("(No Name)"));
        const long species = long(pet->field(QStringLiteral("pet_species_id")).toLongLong());
        const QIcon speciesIcon = funSpeciesIcon(species);
        const PanelIcons own = addPanelIcons(w, speciesIcon, speciesIcon);
        list->setTag(qlonglong(petID));
        addPanelItem(list, QStringLiteral("edit"), QStringLiteral("Edit Details"), QStringLiteral("Edit pet details"),
                     1, own);
        addPanelItem(list, QStringLiteral("vaccine"), QStringLiteral("Update Vaccinations"),
                     QStringLiteral("Update pet vaccinations"), 1, addPanelIcons(w, storeIcon(8), storeIcon(7)));
        addPanelItem(list, QStringLiteral("diary"), QStringLiteral("Add Diary Entries"),
                     QStringLiteral("Update pet diary"), 1, addPanelIcons(w, storeIcon(13), storeIcon(12)));

        for (const report_handler::ReportEntry &r : report_handler::funReportCatalogue()) {
            if (r.Kind != 1 && r.Kind != 3)
                continue;
            const QIcon large = gControls ? gControls->ctImageMain.icon(2, int(r.LargeImage)) : QIcon();
            const QIcon small = gControls ? gControls->ctImageMain.icon(2, int(r.SmallImage)) : QIcon();
            addPanelItem(list, QStringLiteral("r") + QString::number(r.ReportID), r.Name, r.Description, int(r.ListTag),
                         addPanelIcons(w, large, small));
        }

        auto pictures = gDataDB->openRecordset(
            QStringLiteral("SELECT picture_id, picture_title, picture_description FROM tbl_picture "
                           "WHERE picture_pet_id = ? ORDER BY picture_title ASC, picture_id ASC"),
            {qlonglong(petID)});
        if (!pictures) {
            reportDbError(gDataDB->lastError(), "funPetHandler");
        } else if (!pictures->isEOF()) {
            const PanelIcons icons = addPanelIcons(w, storeIcon(26), storeIcon(25));
            for (; !pictures->isEOF(); pictures->moveNext()) {
                const QVariant description = pictures->field(QStringLiteral("picture_description"));
                addPanelItem(list, QStringLiteral("p") + pictures->field(QStringLiteral("picture_id")).toString(),
                             nameOr(pictures->field(QStringLiteral("picture_title")), QStringLiteral("Untitled")),
                             description.isNull() ? QString() : description.toString(), 20, icons);
            }
        }
    }
    w->lblMain[FramePet]->setText(QStringLiteral(" ") + name);
    subMarkListBar(); // the panel is this pet's now
    return true;
}

bool funPetRefreshList(QWidget *frm)
{
    if (!gDataDB)
        return false;
    frm_main *w = funMainWindow(frm);
    CtListBar *bar = w ? w->ctListBar_main : nullptr;
    // Read row by row, keeping only what an entry needs, and added once the
    // read is whole: a read that fails half way adds nothing.
    struct Pet {
        int kind;
        long id;
        QString name;
        long species;
    };
    std::vector<Pet> pets;
    enum { Id, Kind, Name, Species }; // the columns by their place in the statement
    const bool read =
        gDataDB->forEachRow(QStringLiteral("SELECT pet_id, pet_object_type, pet_name, pet_species_id FROM tbl_pet "
                                           "ORDER BY pet_name ASC, pet_id ASC"),
                            {}, [&pets](const QStringList &, const QVariantList &row) {
                                pets.push_back({row[Kind].toInt(), row[Id].toLongLong(), nameOr(row[Name], kNoPetName),
                                                long(row[Species].toLongLong())});
                            });
    if (!read) {
        reportDbError(gDataDB->lastError(), "funPetRefreshList");
        return false;
    }
    auto addEntry = [bar](int kind, long id, const QString &name, const QIcon &icon) {
        gListBarCargo.push_back({kind, id, name});
        if (!bar)
            return;
        bar->addPictureItem(1, name, icon, int(gListBarCargo.size()) - 1);
    };
    if (pets.empty()) {
        // While there is no pet the bar offers to add one; afterwards the menu and toolbar do.
        addEntry(1, 0, QStringLiteral("Add New Pet"), storeIcon(27));
        return true;
    }
    for (const Pet &pet : pets)
        addEntry(pet.kind, pet.id, pet.name, funSpeciesIcon(pet.species));
    return true;
}

bool funPetGetValidate(QWidget *frm)
{
    QWidget *name = frm ? frm->findChild<QWidget *>(QStringLiteral("txtPet(0)")) : nullptr;
    QWidget *birthday = frm ? frm->findChild<QWidget *>(QStringLiteral("txtPet(3)")) : nullptr;
    if (name && name->property("text").toString().isEmpty()) {
        ui::dialogs().msgBox(frm, QStringLiteral("Please enter this pet's name"), ui::Information,
                             QStringLiteral("Pet Name"));
        name->setFocus();
        return false;
    }
    const QString born = birthday ? birthday->property("text").toString() : QString();
    if (!born.isEmpty() && !vbIsDate(born)) {
        ui::dialogs().msgBox(frm, QStringLiteral("Please enter a valid date for this pet's birthday"), ui::Information,
                             QStringLiteral("Pet Birthday"));
        birthday->setFocus();
        return false;
    }
    if (auto *pet = qobject_cast<frm_pet_detail *>(frm); pet && !pet->funPeopleNamed())
        return false;
    return true;
}

void subPetToolBar(QWidget *frm)
{
    frm_main *w = funMainWindow(frm);
    if (!w)
        return;
    CtToolBar *tb = w->ctToolbar_MainToolbar;
    const MainToolItems &t = w->toolItems;
    tb->setItemVisible(t.sepPrint, false);
    tb->setItemVisible(t.print, false);
    tb->setItemVisible(t.sepDelete, true);
    tb->setItemVisible(t.del, true);
    tb->setItemEnabled(t.del, false);
    for (int id : t.viewGroup())
        tb->setItemVisible(id, true);
    w->markViewButton(w->ListView_Pet->View());
    for (int id : t.calendarGroup())
        tb->setItemVisible(id, false);
}

} // namespace pet_handler
