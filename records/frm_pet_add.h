#pragma once
// The new-pet prompt: the user names a new pet and picks its type.  The answer
// goes into gNewPetName and gNewPetSpecies; the window writes nothing itself.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frm_pet_add : public QDialog {
    Q_OBJECT
public:
    explicit frm_pet_add(QWidget *parent = nullptr);

    QLabel *lblLabels = nullptr;
    QLineEdit *txtPet = nullptr;
    // The species, by name; each entry's data is its species_id.
    QComboBox *DBCombo1 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Fills the type list from the system file: `sql` gives species_id and
    // species_name in the order shown.
    void setSpeciesSource(const QString &sql);

    void cmdOK_Click();
    void cmdCancel_Click();

public slots:
    // Escape and the close box: the prompt is cancelled.
    void reject() override;
};
