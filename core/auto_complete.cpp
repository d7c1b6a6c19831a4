#include "core/auto_complete.h"

#include "platform/controls/db_combo.h"

void subAutoCompleteTripTime(QComboBox *combo, DataControl *lookupData, int &keyAscii)
{
    subComboAutoComplete(combo, lookupData, QStringLiteral("trip_time_name"), keyAscii);
}

void subAutoCompleteGender(QComboBox *combo, DataControl *lookupData, int &keyAscii)
{
    subComboAutoComplete(combo, lookupData, QStringLiteral("gender"), keyAscii);
}

void subAutoCompleteDiaryCategory(QComboBox *combo, DataControl *lookupData, int &keyAscii)
{
    subComboAutoComplete(combo, lookupData, QStringLiteral("diary_category"), keyAscii);
}

void subAutoCompleteVaccine(QComboBox *combo, DataControl *lookupData, int &keyAscii)
{
    subComboAutoComplete(combo, lookupData, QStringLiteral("vaccine_name"), keyAscii);
}

void subAutoCompleteBreed(QComboBox *combo, DataControl *lookupData, int &keyAscii)
{
    subComboAutoComplete(combo, lookupData, QStringLiteral("breed_name"), keyAscii);
}

void subAutoCompletePictureCategory(QComboBox *combo, DataControl *lookupData, int &keyAscii)
{
    subComboAutoComplete(combo, lookupData, QStringLiteral("picture_category"), keyAscii);
}
