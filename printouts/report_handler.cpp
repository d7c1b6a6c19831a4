#include "printouts/report_handler.h"

#include "core/codes.h"
#include "core/database.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"
#include "printouts/frm_greeting.h"
#include "printouts/frm_publish.h"
#include "printouts/frm_report.h"
#include "printouts/frm_trip.h"
#include "printouts/rpt_address_book.h"
#include "printouts/rpt_diary.h"
#include "printouts/rpt_greeting_card.h"
#include "printouts/rpt_health_statement.h"
#include "printouts/rpt_pet_details.h"
#include "printouts/rpt_pet_missing.h"
#include "printouts/rpt_pet_poster.h"
#include "printouts/rpt_pet_show_and_tell.h"
#include "printouts/rpt_pet_sitter.h"
#include "printouts/rpt_picture_album.h"
#include "printouts/rpt_picture_poster.h"
#include "printouts/rpt_refrigerator.h"

#include <QPrinter>
#include <optional>

namespace report_handler {

namespace {

// The picture's index in an image list, appended once under its key and
// reused after that.
int listImage(VbImageList *list, const QString &key, const QIcon &icon)
{
    const int at = list->indexOf(key);
    return at > 0 ? at : list->add(icon, key);
}

} // namespace

bool funReportHandler(QWidget *form, int action, long reportID, long recordID, bool modal)
{
    switch (action) {
    case ActionInitialize: return funReportInitialize();
    case ActionOpenReport: return funReportOpen(form, reportID, recordID, modal);
    case ActionShow: return funReportShow(form);
    default: return false;
    }
}

std::unique_ptr<report::Report> funNewDesigner(long reportID)
{
    switch (reportID) {
    case 1: return std::make_unique<printouts::rptPetSitter>();
    case 2: return std::make_unique<printouts::rptAddressBook>();
    case 3: return std::make_unique<printouts::rptPetRefrigerator>();
    case 4: return std::make_unique<printouts::rptPetPoster>();
    case 5: return std::make_unique<printouts::rptPetShowAndTell>();
    case 6:
    case 9: return std::make_unique<printouts::rptPetDetails>();
    case 7: return std::make_unique<printouts::rptPetGreetingCard>();
    case 8: return std::make_unique<printouts::rptPetMissing>();
    case 10: return std::make_unique<printouts::rptDiary>();
    case 11: return std::make_unique<printouts::rptPicturePoster>();
    case 12: return std::make_unique<printouts::rptPictureAlbum>();
    case 13: return std::make_unique<printouts::rptHealthStatement>();
    default: return nullptr;
    }
}

bool funReportOpen(QWidget *form, long reportID, long recordID, bool modal)
{
    resetReportGlobals();
    gReportConnect = QStringLiteral(";DATABASE=") + gDataDBPath + QStringLiteral(";PWD=") + funGetDBPassword() +
                     QStringLiteral(";");
    const ReportEntry *entry = nullptr;
    for (size_t i = 1; i < gReports.size() && !entry; ++i)
        if (gReports[i].ReportID == reportID)
            entry = &gReports[i];
    if (!entry) {
        ui::dialogs().msgBox(form, QStringLiteral("Invalid report specified(") + QString::number(reportID) +
                                       QStringLiteral(")."),
                             ui::Critical, funGetAppTitle());
        return false;
    }
    gReportName = entry->Name;
    if (recordID != 0)
        gReportPetID = recordID;
    // The sitter's trip (1), the greeting card (7) and the web page (9) ask
    // their options first; a cancelled window opens nothing.
    if (reportID == 1 && !funReportTripOptions(form))
        return false;
    if (reportID == 7 && !funReportGreetingOptions(form))
        return false;
    if (reportID == 9 && !funReportPublishOptions(form))
        return false;
    // The designer copies the globals it reads now, while they are this open's.
    std::unique_ptr<report::Report> designer = funNewDesigner(reportID);
    if (!designer)
        return false;

    Hourglass wait;
    QPrinter &programPrinter = funProgramPrinter();
    designer->pageSetup.setPaper(programPrinter.pageLayout());
    // Laid out once, before any window: an empty printout (its layout said
    // so) never shows a viewer.
    if (!designer->run())
        return true;
    auto *viewer = new frm_report(modal ? form : nullptr);
    viewer->setWindowTitle(gReportName);
    if (gControls)
        viewer->setWindowIcon(gControls->ctImageMain.icon(0, 1));
    viewer->printer().setPrinterName(programPrinter.printerName());
    viewer->setReport(std::move(designer));
    wait.release();
    if (modal) {
        viewer->setModal(true);
        viewer->exec();
    } else {
        viewer->show();
        viewer->activateWindow();
    }
    return true;
}

bool funReportPublishOptions(QWidget *form)
{
    gReportOptionsOK = false;
    frm_publish options(form);
    options.setWindowTitle(QStringLiteral("Publish Zorbi options"));
    options.exec();
    return gReportOptionsOK;
}

bool funReportShow(QWidget *form)
{
    frm_main *w = funMainWindow(form);
    if (!w)
        return false;
    w->showView(ViewPrintouts);
    VbListView *list = w->ListView_Report;
    list->clearItems();
    for (size_t i = 1; i < gReports.size(); ++i) {
        const ReportEntry &r = gReports[i];
        if (r.Kind != 2 && r.Kind != 3)
            continue;
        const QString key = QStringLiteral("r") + QString::number(r.ReportID);
        const QIcon large = gControls ? gControls->ctImageMain.icon(2, int(r.LargeImage)) : QIcon();
        const QIcon small = gControls ? gControls->ctImageMain.icon(2, int(r.SmallImage)) : QIcon();
        VbListItem *item = list->addItem(key, r.Name, listImage(w->ImageListReport_Large, key, large),
                                         listImage(w->ImageListReport_Small, key, small));
        item->setSubItems(1, r.Description);
        item->setTag(qlonglong(r.ListTag));
    }
    return true;
}

void subReportToolBar(QWidget *form)
{
    frm_main *w = funMainWindow(form);
    if (!w)
        return;
    CtToolBar *tb = w->ctToolbar_MainToolbar;
    tb->setItemVisible(MainToolSepPrint, true);
    tb->setItemVisible(MainToolPrint, true);
    tb->setItemEnabled(MainToolPrint, true);
    tb->setItemVisible(MainToolSepDelete, false);
    tb->setItemVisible(MainToolDelete, false);
    for (int id = MainToolSepViews; id <= MainToolDetails; ++id)
        tb->setItemVisible(id, true);
    w->ListView_Report->setView(gListviewReport);
    for (int id = MainToolLargeIcons; id <= MainToolDetails; ++id)
        tb->setItemChecked(id, false);
    const int view = w->ListView_Report->View();
    tb->setItemChecked(mainToolViewButton(view), true);
    for (int id = MainToolSepCalendar; id <= MainToolNextYear; ++id)
        tb->setItemVisible(id, false);
}

bool funReportInitialize()
{
    gReports.assign(2, ReportEntry());
    subReportAdd(1, 3, QStringLiteral("Pet Sitter Instructions"),
                 QStringLiteral("Instructions for your pet sitter or kennel"), QStringLiteral("qryrptTrip"), 1, 2);
    subReportAdd(2, 2, QStringLiteral("Address Book Listing"),
                 QStringLiteral("Listing of all people in the address book"), QStringLiteral("qryrptContact"), 15,
                 16);
    subReportAdd(3, 1, QStringLiteral("Refrigerator Page"),
                 QStringLiteral("Refrigerator Posting, for when family or friends are visiting"),
                 QStringLiteral("qryrptPet"), 9, 10);
    subReportAdd(4, 1, QStringLiteral("Pet Poster"), QStringLiteral("Poster of your pet"),
                 QStringLiteral("qryrptPet"), 3, 4);
    subReportAdd(5, 1, QStringLiteral("Show & Tell Paper"),
                 QStringLiteral("Create a Show & Tell printout for school"), QStringLiteral("qryrptPet"), 7, 8);
    subReportAdd(6, 1, QStringLiteral("Pet Details"), QStringLiteral("Pet Details report"),
                 QStringLiteral("qryrptPet"), 13, 14);
    subReportAdd(7, 1, QStringLiteral("Greeting Card"),
                 QStringLiteral("Create greeting cards for the birthdays or holidays"), QStringLiteral("qryrptPet"),
                 11, 12);
    subReportAdd(8, 1, QStringLiteral("Missing Pet Poster"), QStringLiteral("Missing Pet Poster if a pet gets lost"),
                 QStringLiteral("qryrptPet"), 19, 20);
    subReportAdd(9, 3, QStringLiteral("Publish Zorbi"),
                 QStringLiteral("Create web page of your pet to put on your web site"), QString(), 5, 6);
    subReportAdd(10, 1, QStringLiteral("Print Pet Diary"),
                 QStringLiteral("Print or view a list of a pet's diary entries"), QStringLiteral("qryrptPet"), 17,
                 18);
    subReportAdd(11, 0, QStringLiteral("Picture Print"), QStringLiteral("Print picture"),
                 QStringLiteral("qryrptPictureAlbum"), 21, 22);
    subReportAdd(12, 2, QStringLiteral("Photo Album"), QStringLiteral("Print photo gallery/album (4 pictures/page)"),
                 QStringLiteral("qryrptPictureAlbum"), 21, 22);
    subReportAdd(13, 3, QStringLiteral("Health Statement"), QStringLiteral("Print Pet Health Statement(s)"),
                 QStringLiteral("qryrptPet"), 23, 24);
    return true;
}

void subReportAdd(int reportID, long kind, const QString &name, const QString &description,
                  const QString &recordSource, long smallImage, long largeImage)
{
    if (gReports.size() < 2)
        gReports.resize(2);
    // Entry 1 waits empty for the first printout; every later one is appended.
    if (!gReports[1].Name.isEmpty())
        gReports.emplace_back();
    ReportEntry &e = gReports.back();
    e.ReportID = reportID;
    e.ListTag = 13;
    e.Kind = kind;
    e.Name = name;
    e.Description = description;
    e.RecordSource = recordSource;
    e.SmallImage = smallImage;
    e.LargeImage = largeImage;
}

} // namespace report_handler
