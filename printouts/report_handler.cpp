#include "printouts/report_handler.h"

#include "core/globals.h"

namespace report_handler {

bool funReportHandler(QWidget *, int action, long, long, bool)
{
    switch (action) {
    case 22: return funReportInitialize();
    default: return false;
    }
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
