#pragma once
// Completing what the user types into the editable lookup combos of the detail
// windows, each from its own list field; called from the combo's key press.

class QComboBox;
class DataControl;

void subAutoCompleteTripTime(QComboBox *combo, DataControl *lookupData, int &keyAscii);
void subAutoCompleteGender(QComboBox *combo, DataControl *lookupData, int &keyAscii);
void subAutoCompleteDiaryCategory(QComboBox *combo, DataControl *lookupData, int &keyAscii);
void subAutoCompleteVaccine(QComboBox *combo, DataControl *lookupData, int &keyAscii);
void subAutoCompleteBreed(QComboBox *combo, DataControl *lookupData, int &keyAscii);
void subAutoCompletePictureCategory(QComboBox *combo, DataControl *lookupData, int &keyAscii);
