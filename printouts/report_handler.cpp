#include "printouts/report_handler.h"

#include "core/codes.h"
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

namespace {

template <class Designer> std::unique_ptr<report::Report> make(const PrintoutRequest &request)
{
    return std::make_unique<Designer>(request);
}

ReportEntry entry(int reportID, long kind, const char *name, const char *description, const char *recordSource,
                  long smallImage, long largeImage,
                  std::unique_ptr<report::Report> (*makeDesigner)(const PrintoutRequest &),
                  PrintoutOptions options = PrintoutOptions::None)
{
    ReportEntry e;
    e.ReportID = reportID;
    e.Kind = kind;
    e.Name = QString::fromUtf8(name);
    e.Description = QString::fromUtf8(description);
    e.RecordSource = QString::fromUtf8(recordSource);
    e.SmallImage = smallImage;
    e.LargeImage = largeImage;
    e.makeDesigner = makeDesigner;
    e.options = options;
    return e;
}

} // namespace

const std::vector<ReportEntry> &funReportCatalogue()
{
    using namespace printouts;
    static const std::vector<ReportEntry> catalogue{
        entry(1, 3, "Pet Sitter Instructions", "Instructions for your pet sitter or kennel", "qryrptTrip", 1, 2,
              make<rptPetSitter>, PrintoutOptions::Trip),
        entry(2, 2, "Address Book Listing", "Listing of all people in the address book", "qryrptContact", 15, 16,
              make<rptAddressBook>),
        entry(3, 1, "Refrigerator Page", "Refrigerator Posting, for when family or friends are visiting", "qryrptPet",
              9, 10, make<rptPetRefrigerator>),
        entry(4, 1, "Pet Poster", "Poster of your pet", "qryrptPet", 3, 4, make<rptPetPoster>),
        entry(5, 1, "Show & Tell Paper", "Create a Show & Tell printout for school", "qryrptPet", 7, 8,
              make<rptPetShowAndTell>),
        entry(6, 1, "Pet Details", "Pet Details report", "qryrptPet", 13, 14, make<rptPetDetails>),
        entry(7, 1, "Greeting Card", "Create greeting cards for the birthdays or holidays", "qryrptPet", 11, 12,
              make<rptPetGreetingCard>, PrintoutOptions::Greeting),
        entry(8, 1, "Missing Pet Poster", "Missing Pet Poster if a pet gets lost", "qryrptPet", 19, 20,
              make<rptPetMissing>),
        entry(9, 3, "Publish Zorbi", "Create web page of your pet to put on your web site", "", 5, 6,
              make<rptPetDetails>, PrintoutOptions::Publish),
        entry(10, 1, "Print Pet Diary", "Print or view a list of a pet's diary entries", "qryrptPet", 17, 18,
              make<rptDiary>),
        entry(11, 0, "Picture Print", "Print picture", "qryrptPictureAlbum", 21, 22, make<rptPicturePoster>),
        entry(12, 2, "Photo Album", "Print photo gallery/album (4 pictures/page)", "qryrptPictureAlbum", 21, 22,
              make<rptPictureAlbum>),
        entry(13, 3, "Health Statement", "Print Pet Health Statement(s)", "qryrptPet", 23, 24,
              make<rptHealthStatement>),
    };
    return catalogue;
}

const ReportEntry *funReportEntry(long reportID)
{
    for (const ReportEntry &e : funReportCatalogue())
        if (e.ReportID == reportID)
            return &e;
    return nullptr;
}

std::unique_ptr<report::Report> funNewDesigner(const PrintoutRequest &request)
{
    const ReportEntry *e = funReportEntry(request.reportID);
    return e && e->makeDesigner ? e->makeDesigner(request) : nullptr;
}

bool funReportOpen(QWidget *form, long reportID, long recordID, bool modal)
{
    const ReportEntry *entry = funReportEntry(reportID);
    if (!entry) {
        ui::dialogs().msgBox(
            form, QStringLiteral("Invalid report specified(") + QString::number(reportID) + QStringLiteral(")."),
            ui::Critical, funGetAppTitle());
        return false;
    }
    PrintoutRequest request;
    request.reportID = reportID;
    request.reportName = entry->Name;
    request.petID = recordID;
    // A cancelled option window opens nothing.
    switch (entry->options) {
    case PrintoutOptions::None: break;
    case PrintoutOptions::Trip:
        if (!funReportTripOptions(form, request))
            return false;
        break;
    case PrintoutOptions::Greeting:
        if (!funReportGreetingOptions(form, request))
            return false;
        break;
    case PrintoutOptions::Publish:
        if (!funReportPublishOptions(form, request))
            return false;
        break;
    }
    std::unique_ptr<report::Report> designer = funNewDesigner(request);
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
    viewer->setWindowTitle(request.reportName);
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

bool funReportPublishOptions(QWidget *form, PrintoutRequest &request)
{
    frm_publish options(form);
    options.setWindowTitle(QStringLiteral("Publish Zorbi options"));
    options.exec();
    if (!options.confirmed())
        return false;
    request.publishDiary = options.publishDiary();
    request.publishVaccinations = options.publishVaccinations();
    request.publishCommands = options.publishCommands();
    request.publishMisc = options.publishMisc();
    return true;
}

bool funReportShow(QWidget *form)
{
    frm_main *w = funMainWindow(form);
    if (!w)
        return false;
    w->showView(ViewPrintouts);
    VbListView *list = w->ListView_Report;
    list->clearItems();
    for (const ReportEntry &r : funReportCatalogue()) {
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
    const MainToolItems &t = w->toolItems;
    tb->setItemVisible(t.sepPrint, true);
    tb->setItemVisible(t.print, true);
    tb->setItemEnabled(t.print, true);
    tb->setItemVisible(t.sepDelete, false);
    tb->setItemVisible(t.del, false);
    for (int id : t.viewGroup())
        tb->setItemVisible(id, true);
    w->ListView_Report->setView(gListviewReport);
    w->markViewButton(w->ListView_Report->View());
    for (int id : t.calendarGroup())
        tb->setItemVisible(id, false);
}

bool funReportInitialize() { return true; }

} // namespace report_handler
