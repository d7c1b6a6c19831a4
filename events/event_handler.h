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

// Code 1: a new event in the editor. The event editor is not yet part of the
// program, so nothing opens and the answer is False.
bool funEventAdd(QWidget *form, const QVariant &date);

// Code 2: an event in the editor; False for id 0. Not yet part of the program
// (the editor), so the answer is False.
bool funRecordEdit(QWidget *form, long eventID);

// Codes 3 and 20, after the user confirmed: 3 deletes the event `eventID`; 20
// would delete the editor's row, which is not yet part of the program. True
// when the event was deleted.
bool funEventDelete(QWidget *form, int action, long eventID);

// Code 6: the editor's fields. Not yet part of the program: False.
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
