#pragma once
// Everything about the people of the address book goes through
// funContactHandler: the address-book view of the main window, adding,
// opening, validating, deleting and printing a person, and opening a person's
// e-mail and web addresses.

#include <QString>

class QWidget;

namespace contact_handler {

// Codes: 1 add, 2 open person `contactID`, 3 delete person `contactID` named
// `text`, 20 delete the row of the person window `frm`, 5 show the address
// book, 6 validate the person window `frm`, 7 print the window `frm` itself,
// 13 and 14 open the address `text`, 15 refill the address book, 18 the
// address-book printout. Any other code is refused with a message.
bool funContactHandler(QWidget *frm, int code, long contactID, const QString &text);

// `addedID`, when given, receives the id of the person written, 0 for none.
bool funContactAdd(QWidget *frm, long *addedID = nullptr);
bool funContactEdit(QWidget *frm, long contactID);
bool funContactDelete(QWidget *frm, int code, long contactID, const QString &name);
bool funContactListShow(QWidget *frm);
bool funContactRefreshList(QWidget *frm);
// Checks the name txtcontact(0) of the person window `frm`.
bool funContactValidate(QWidget *frm);
bool funContactPrintForm(QWidget *frm);
bool funContactRun(QWidget *frm, const QString &text);
bool funContactPrintList(QWidget *frm);

// A stored e-mail or web text as the address it is opened as: an e-mail
// address without a scheme ("bob@x.org") gets "mailto:"; anything else is
// left to the shell, which opens only web and mail addresses.
QString funContactAddress(const QString &text);

// The list's texts of a person: the name ("(None)" for none) and the primary
// phone (its type, a blank and its number; either left out when missing).
QString funContactListName(const QVariant &name);
QString funContactPrimaryPhone(const QVariant &type, const QVariant &number);

// The main toolbar for the address book.
void subContactToolBar(QWidget *frm);

} // namespace contact_handler
