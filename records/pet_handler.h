#pragma once
// Everything about pets goes through funPetHandler: the list bar's pet
// entries, the pet panel, adding, opening, validating, deleting and printing a
// pet.  funPetGetDefault hands out the default feeding and care texts and a
// species' name.

#include <QIcon>
#include <QString>
#include <QVariant>

class QWidget;
class frm_pet_detail;

namespace pet_handler {

// Codes: 1 add, 2 open on tab `tab`, 3 delete, 5 show the pet panel,
// 6 validate the pet window `frm`, 7 print the pet's details, 15 rebuild the
// list bar's pet entries.  Any other code is refused with a message.
bool funPetHandler(QWidget *frm, int code, long petID, const QString &text, int tab);

bool funPetAdd(QWidget *frm);
bool funPetEdit(QWidget *frm, long petID, int tab);
// The pet window of funPetEdit, made, bound and loaded on tab `tab` but not
// shown (owned by the caller); null, after the message, when the pet is not
// there.  funPetEdit shows it modally over `frm`.
frm_pet_detail *funPetEditWindow(QWidget *frm, long petID, int tab);
bool funPetDelete(QWidget *frm, long petID);
bool funPetShow(QWidget *frm, long petID);
bool funPetRefreshList(QWidget *frm);
// Checks the name `txtPet(0)` and the birthday `txtPet(3)` of the window `frm`.
bool funPetGetValidate(QWidget *frm);

// 1 the default feeding note (rich text), 2 the default care note (rich text),
// 3 and 4 their plain text, 5 the name of species `species`; "" for anything
// else or nothing stored.
QString funPetGetDefault(int code, const QVariant &species = {});

// The main toolbar for the pets view.
void subPetToolBar(QWidget *frm);

// A species' icon from the icon store, or the program's icon for a species
// without one.
QIcon funSpeciesIcon(long speciesID);

} // namespace pet_handler
