#pragma once
// Events: the one entry through which the program adds, opens, deletes,
// validates and prints events, and opens the list of a calendar day's items.

#include <QVariant>

class QWidget;

namespace event_handler {

// The dispatcher. `form` is the calling window, `eventID` an event_id, `date`
// a date (code 1) or a day number (code 17):
//   1 add, 2 open, 3 delete by id, 20 delete the editor's row, 6 validate the
//   editor, 7 print the editor, 17 the day's list.
// Any other code is answered with a message and False.
bool funEventHandler(QWidget *form, int action, long eventID, QVariant &date);

// Code 1: a new event in the editor over `form`, dated `date` (today when it
// is not a date), until a calendar month later should it be made to repeat.
// True once the editor has closed, saved or not.
bool funEventAdd(QWidget *form, const QVariant &date);

// Code 2: the event `eventID` in the editor over `form`. False for id 0, and
// after a message for an event that is not (or no longer) in the file; True
// once the editor has closed.
bool funRecordEdit(QWidget *form, long eventID);

// Codes 3 and 20, after the user confirmed: 3 deletes the event `eventID`, 20
// the row of the editor `form`. True when the event was deleted; a delete the
// file refuses is reported and answers False.
bool funEventDelete(QWidget *form, int action, long eventID);

// Code 6: the fields of the editor `form`. Every event needs a name and a
// date; a repeating one also an until date not before its date. The first
// failure is told in a message, takes the focus to its field and answers False.
bool funEventValidate(QWidget *form);

// Code 7: prints an image of `form` (the editor that asks) on the program's
// printer. The answer is False whether or not it printed; the editor does not
// read it.
bool funEventPrint(QWidget *form);

// Code 17: the list of the items the calendar shows on day number `day`,
// opened over `form`; afterwards the calendar is shown again at that month.
// True when it ran (also for a day with nothing on it, where no window opens),
// False for day 0 or no day.
bool funEventEditList(QWidget *form, const QVariant &day);

} // namespace event_handler
