#pragma once
// The codes the windows and the handlers pass to each other. Their values are
// stored in the data file (object kinds, view codes in the list bar's cargo) and
// shared by the two programs, so they never change.

// What the main window shows, and what the list bar's entries and the pet
// panel's item tags point at.
enum ViewCode : int {
    ViewPets = 1,
    ViewAddressBook = 2,
    ViewCalendar = 6,
    ViewEventEditor = 8,
    ViewPrintouts = 13,
    ViewPreferences = 14,
    ViewPhotoGallery = 20,
};

// The printouts, by the id the catalogue gives each.
enum ReportID : int {
    ReportPetSitter = 1,
    ReportAddressBook = 2,
    ReportRefrigerator = 3,
    ReportPetPoster = 4,
    ReportShowAndTell = 5,
    ReportPetDetails = 6,
    ReportGreetingCard = 7,
    ReportMissingPet = 8,
    ReportPublish = 9,
    ReportDiary = 10,
    ReportPicturePrint = 11,
    ReportPhotoAlbum = 12,
    ReportHealthStatement = 13,
};

// The kind of record a calendar item or a reminder stands for (`object_id`).
enum ObjectKind : int {
    ObjectPet = 1,
    ObjectVaccination = 6,
    ObjectEvent = 8,
    ObjectDiary = 9,
};

// What a calendar or reminder row of a pet's record stands for (`misc_data`).
enum CalendarMiscData : int {
    MiscDiaryEntry = 0,
    MiscVaccinationExpires = 1,
    MiscVaccinationReceived = 2,
    MiscBirthday = 12,
};

// The function codes of the subject handlers. Not every handler answers every
// code; a handler answers a code it does not know with its own message.
enum HandlerAction : int {
    ActionAdd = 1,
    ActionEdit = 2,   // edit or open
    ActionDelete = 3, // delete by record id
    ActionShow = 5,
    ActionValidate = 6,
    ActionPrint = 7,
    ActionMailTo = 13,    // the person's e-mail address
    ActionVisitSite = 14, // the person's web address
    ActionRefresh = 15,
    ActionEditList = 17,  // the events of one day
    ActionPrintList = 18, // the address book listing
    ActionOpenReport = 19,
    ActionDeleteBound = 20, // delete the detail window's bound record
    ActionInitialize = 22,  // the printout catalogue
};
