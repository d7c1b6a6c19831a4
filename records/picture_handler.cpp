#include "records/picture_handler.h"
#include "core/codes.h"

#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/vb_image.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"
#include "platform/thumbnails.h"
#include "records/frm_picture.h"

#include <QCoreApplication>
#include <vector>

namespace picture_handler {

namespace {

constexpr int kThumbnailSide = 128;

QString textOf(const QVariant &v) { return v.isNull() ? QString() : v.toString(); }

// The report of an unexpected failure: number and description, titled "Error".
void reportError(const db::DbError &e) { ui::errorReport(e.number, e.description); }

// A thumbnail as the image list keeps it: square, so that the titles under
// the pictures stand in line.
QIcon thumbnailIcon(QImage image) { return QIcon(QPixmap::fromImage(thumbnails::squared(std::move(image)))); }

// What the gallery shows for a picture without a readable file: the default
// picture, or the program's own picture icon when that is missing too.
QIcon standInIcon()
{
    const QImage fallback = thumbnails::thumbnail(gDefaultPicture);
    if (!fallback.isNull())
        return thumbnailIcon(fallback);
    if (gControls)
        return thumbnailIcon(gControls->ctImageMain.picture(0, 17)
                                 .scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                 .toImage());
    return {};
}

} // namespace

bool funPictureHandler(QWidget *form, int code, long pictureID, const QString &text, int viewMode)
{
    switch (code) {
    case ActionAdd: return funPictureAdd(form);
    case ActionEdit: return funPictureEdit(form, pictureID);
    case ActionDelete:
    case ActionDeleteBound: return funPictureDelete(form, code, pictureID, text);
    case ActionShow: return funPictureListShow(form, viewMode);
    case ActionPrint: return funReportHandler(form, ActionOpenReport, 11, pictureID, true);
    case ActionRefresh: return funPictureRefreshList(form, viewMode);
    default:
        ui::dialogs().msgBox(form, QStringLiteral("Invalid function specified for picture handler."), ui::OKOnly);
        return false;
    }
}

std::unique_ptr<frm_picture> funPictureWindow(QWidget *form, long pictureID)
{
    Hourglass hourglass;
    auto w = std::make_unique<frm_picture>(form);
    if (pictureID == 0)
        w->DataDetail->setRecordSource(QStringLiteral("SELECT * FROM tbl_picture WHERE picture_id = 0"));
    else
        w->DataDetail->setRecordSource(QStringLiteral("SELECT * FROM tbl_picture WHERE picture_id = ?"),
                                       {qlonglong(pictureID)});
    if (!w->DataDetail->refresh()) {
        const db::DbError error = w->DataDetail->lastError();
        hourglass.release();
        reportError(error);
        return nullptr;
    }
    if (gControls) {
        w->setWindowIcon(gControls->ctImageMain.icon(0, 1));
        w->ImageMain->setPicture(gControls->ctImageMain.picture(0, 26));
    }
    if (pictureID == 0) {
        if (!w->DataDetail->addNew()) {
            const db::DbError error = w->DataDetail->lastError();
            hourglass.release();
            reportError(error);
            return nullptr;
        }
        w->setWindowTitle(QStringLiteral("New Picture"));
        w->subShowPicture(gDefaultPicture);
        w->Form_Activate();
        return w;
    }
    if (w->DataDetail->recordCount() == 0) {
        hourglass.release();
        ui::dialogs().msgBox(form, QStringLiteral("Picture not found, may have been deleted."), ui::Information,
                             QStringLiteral("Error"));
        return nullptr;
    }
    w->DataDetail->edit();
    w->setSavedRecordID(pictureID);
    w->setWindowTitle(frm_picture::titleFor(w->DataDetail->field(QStringLiteral("picture_title"))));
    const QString file = textOf(w->DataDetail->field(QStringLiteral("picture_filename")));
    int number = 0;
    QString description;
    if (!w->subShowPicture(file.isEmpty() ? gDefaultPicture : gPicturePath + file, &number, &description)) {
        // The window still opens, with the default picture in the box.
        hourglass.release();
        ui::dialogs().msgBox(form, QString::number(number) + QStringLiteral(": ") + description,
                             ui::OKOnly | ui::Exclamation, QStringLiteral("Picture error"));
    }
    w->Form_Activate();
    return w;
}

bool funPictureAdd(QWidget *form)
{
    gCurrentView = 20;
    std::unique_ptr<frm_picture> w = funPictureWindow(form, 0);
    if (!w)
        return false;
    w->exec();
    return true;
}

bool funPictureEdit(QWidget *form, long pictureID)
{
    if (pictureID == 0)
        return false;
    gCurrentView = 20;
    std::unique_ptr<frm_picture> w = funPictureWindow(form, pictureID);
    if (!w)
        return false;
    w->exec();
    return true;
}

bool funPictureDelete(QWidget *form, int code, long pictureID, const QString &title)
{
    const int answer = ui::dialogs().msgBox(
        form, QStringLiteral("Are you sure you want to delete picture \"") + title + QStringLiteral("\"?"),
        ui::YesNo | ui::Question | ui::DefaultButton2, QStringLiteral("Confirm Delete"));
    if (answer != ui::Yes)
        return false;
    // Only the record goes: the picture's file stays in the pictures folder.
    if (code == 20) {
        DataControl *row = form ? form->findChild<DataControl *>(QStringLiteral("DataDetail")) : nullptr;
        if (!row) {
            reportError({db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set.")});
            return false;
        }
        if (!row->remove()) {
            reportError(row->lastError());
            return false;
        }
        return true;
    }
    if (!gDataDB) {
        reportError({db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set.")});
        return false;
    }
    if (!gDataDB->execute(QStringLiteral("DELETE FROM tbl_picture WHERE picture_id = ?"), {qlonglong(pictureID)})) {
        reportError(gDataDB->lastError());
        return false;
    }
    return true;
}

bool funPictureListShow(QWidget *form, int viewMode)
{
    frm_main *w = funMainWindow(form);
    if (!w)
        return false;
    {
        Hourglass hourglass;
        w->showView(20);
        subPictureToolBar(w);
        w->ListView_Picture->setView(viewMode);
        // The pressed view button is the view on screen.
        w->markViewButton(w->ListView_Picture->View());
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return funPictureRefreshList(w, viewMode);
}

bool funPictureRefreshList(QWidget *form, int viewMode)
{
    frm_main *w = funMainWindow(form);
    if (!w || !gDataDB)
        return false;
    Hourglass hourglass;
    // Only the columns the list shows, read by their place.
    auto rs = gDataDB->openRecordset(
        QStringLiteral("SELECT picture_id, picture_title, pet_name, picture_category, picture_date, "
                       "picture_description, picture_filename FROM qry_listview_picture ORDER BY picture_title ASC"));
    if (!rs) {
        const db::DbError error = gDataDB->lastError();
        hourglass.release();
        reportError(error);
        return false;
    }
    VbListView *list = w->ListView_Picture;
    VbImageList *large = w->ImageListPicture_Large;
    list->setIcons(nullptr);
    large->clear();
    large->setImageSize(QSize(kThumbnailSide, kThumbnailSide));

    // Thumbnails only for the large-icon view. The items come at once with the
    // stand-in; the image list reads the thumbnails on screen first and the
    // rest in the background. A file that is missing or is no picture keeps
    // the stand-in.
    const bool withThumbnails = viewMode == 0;
    QIcon standIn;
    if (withThumbnails) {
        standIn = standInIcon();
        large->setFileReader([](const QString &path) { return thumbnails::squared(thumbnails::thumbnail(path)); });
    }
    std::vector<VbListRow> items;
    items.reserve(size_t(rs->recordCount()));
    for (; !rs->isEOF(); rs->moveNext()) {
        if (withThumbnails) {
            const QString file = textOf(rs->field(6));
            large->addFile(file.isEmpty() ? QString() : gPicturePath + file, standIn);
        }
        const QString title = textOf(rs->field(1));
        items.push_back({QString(),
                         title.isEmpty() ? QStringLiteral("Untitled") : title,
                         large->Count(),
                         1,
                         {textOf(rs->field(2)), textOf(rs->field(3)), textOf(rs->field(4)), textOf(rs->field(5))},
                         rs->field(0)});
    }
    rs.reset();
    list->setItems(items);
    if (withThumbnails)
        list->setIcons(large);
    return true;
}

void subPictureToolBar(QWidget *form)
{
    frm_main *w = funMainWindow(form);
    if (!w)
        return;
    CtToolBar *tb = w->ctToolbar_MainToolbar;
    const MainToolItems &t = w->toolItems;
    for (int id : {t.sepPrint, t.print, t.sepDelete, t.del})
        tb->setItemVisible(id, true);
    for (int id : t.viewGroup())
        tb->setItemVisible(id, true);
    tb->setItemEnabled(t.del, false);
    w->ListView_Picture->setView(gListviewPicture);
    w->markViewButton(w->ListView_Picture->View());
    for (int id : t.calendarGroup())
        tb->setItemVisible(id, false);
}

} // namespace picture_handler
