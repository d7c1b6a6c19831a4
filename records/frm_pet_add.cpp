#include "records/frm_pet_add.h"

#include "core/globals.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The width of tbl_pet.pet_name.
constexpr int kNameLength = 50;
const QString kSpeciesSource = QStringLiteral("SELECT species_id, species_name from tbl_species ORDER BY species_name");
} // namespace

frm_pet_add::frm_pet_add(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_pet_add"));
    setWindowTitle(QStringLiteral("New Pet"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblLabels = new QLabel(
        QStringLiteral("Enter the Pet's name and what type of pet it is, then click OK to add the pet."), this);
    lblLabels->setObjectName(QStringLiteral("lblLabels"));
    lblLabels->setWordWrap(true);

    txtPet = new QLineEdit(this);
    txtPet->setObjectName(QStringLiteral("txtPet"));
    txtPet->setMaxLength(kNameLength);

    DBCombo1 = new QComboBox(this);
    DBCombo1->setObjectName(QStringLiteral("DBCombo1"));
    DBCombo1->setPlaceholderText(QStringLiteral("(Select Pet Type)"));
    DBCombo1->setMinimumContentsLength(20);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Pet Name:"), txtPet);
    form->addRow(QStringLiteral("Type of Pet:"), DBCombo1);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *outer = new QVBoxLayout(this);
    outer->addWidget(lblLabels);
    outer->addSpacing(6);
    outer->addLayout(form);
    outer->addSpacing(6);
    outer->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frm_pet_add::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frm_pet_add::cmdCancel_Click);

    setSpeciesSource(kSpeciesSource);
    DBCombo1->setCurrentIndex(-1);
}

void frm_pet_add::setSpeciesSource(const QString &sql)
{
    DBCombo1->clear();
    if (!gSystemDB)
        return;
    auto rs = gSystemDB->openRecordset(sql);
    if (!rs)
        return;
    for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
        DBCombo1->addItem(rs->field(QStringLiteral("species_name")).toString(),
                          rs->field(QStringLiteral("species_id")));
    DBCombo1->setCurrentIndex(-1);
}

void frm_pet_add::cmdOK_Click()
{
    if (txtPet->text().trimmed().isEmpty()) {
        ui::dialogs().msgBox(this, QStringLiteral("Please enter the name of this pet."), ui::Information,
                             QStringLiteral("Pet Type"));
        txtPet->setFocus();
        return;
    }
    bool numeric = false;
    const long species = DBCombo1->currentIndex() < 0 ? 0 : DBCombo1->currentData().toLongLong(&numeric);
    if (!numeric || species == 0) {
        ui::dialogs().msgBox(this, QStringLiteral("Please select the type of pet this is."), ui::Information,
                             QStringLiteral("Pet Type"));
        DBCombo1->setFocus();
        return;
    }
    // The name goes on exactly as typed, blanks included.
    m_answer = NewPet{txtPet->text(), species};
    accept();
}

void frm_pet_add::cmdCancel_Click() { reject(); }

void frm_pet_add::reject()
{
    m_answer.reset();
    QDialog::reject();
}
