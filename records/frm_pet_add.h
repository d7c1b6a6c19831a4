#pragma once
// The new-pet prompt: the user names a new pet and picks its type.  OK with
// both given answers them; the window writes nothing itself.

#include <QDialog>
#include <QString>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The prompt's answer: the name exactly as typed, and the species id.
struct NewPet {
    QString name;
    long species = 0;
};

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

    // What OK confirmed; nothing while the prompt is open or once cancelled.
    std::optional<NewPet> answer() const { return m_answer; }

public slots:
    // Escape and the close box: the prompt is cancelled.
    void reject() override;

private:
    std::optional<NewPet> m_answer;
};
