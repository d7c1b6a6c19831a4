#include "core/frm_about.h"

#include "core/main_zorbi.h"
#include "core/system.h"
#include "platform/controls/ct_image.h"
#include "platform/dialogs.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVersionNumber>

QString funVersionText(const QString &version)
{
    const QVersionNumber v = QVersionNumber::fromString(version);
    return QStringLiteral("Version %1.%2 (Build %3)").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion());
}

frm_about::frm_about(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_about"));
    setWindowTitle(QStringLiteral("About ") + funGetAppTitle());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const CtImage store;
    setWindowIcon(store.icon(0, 1));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(store.picture(0, 1));
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle = new QLabel(funGetAppTitle(), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    lblTitle->setFont(big);

    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral(ZORBI_VERSION);
    lblVersion = new QLabel(funVersionText(version), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    lblWebsite = new QLabel(funGetWebAddress(), this);
    lblWebsite->setObjectName(QStringLiteral("lblWebsite"));
    lblWebsite->setTextFormat(Qt::PlainText);
    QFont link = lblWebsite->font();
    link.setUnderline(true);
    lblWebsite->setFont(link);
    lblWebsite->setStyleSheet(QStringLiteral("color: #0000c0"));
    // The pointer with the question mark tells that the logo and the address open the site.
    for (QLabel *l : {Image1, lblWebsite}) {
        l->setCursor(Qt::WhatsThisCursor);
        l->installEventFilter(this);
    }

    lblDescription =
        new QLabel(funGetAppTitle()
                       + QStringLiteral(" keeps your household's records about its pets: their details, "
                                        "vaccinations, diary, pictures and events, with reminders and printouts."),
                   this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);

    fraAcknowledgements = new QGroupBox(QStringLiteral("Acknowledgements"), this);
    fraAcknowledgements->setObjectName(QStringLiteral("fraAcknowledgements"));
    auto *ack =
        new QLabel(QStringLiteral("Built with the Qt toolkit and the SQLite database engine."), fraAcknowledgements);
    ack->setWordWrap(true);
    (new QVBoxLayout(fraAcknowledgements))->addWidget(ack);

    lblDisclaimer = new QLabel(
        QStringLiteral("This program is provided as is, without warranty of any kind. See the license agreement "
                       "for the terms under which you may use and copy it."),
        this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);

    const QString captions[3] = {QStringLiteral("OK"), QStringLiteral("&System Info"),
                                 QStringLiteral("License &Agreement")};
    auto *buttons = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        cmdAbout[i] = new QPushButton(captions[i], this);
        cmdAbout[i]->setObjectName(QStringLiteral("cmdAbout(%1)").arg(i));
        buttons->addWidget(cmdAbout[i]);
        connect(cmdAbout[i], &QPushButton::clicked, this, [this, i] { cmdAbout_Click(i); });
    }
    buttons->addStretch(1);
    cmdAbout[0]->setDefault(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblWebsite);
    texts->addSpacing(8);
    texts->addWidget(lblDescription);
    texts->addWidget(fraAcknowledgements);
    texts->addWidget(lblDisclaimer);

    auto *outer = new QHBoxLayout(this);
    outer->addWidget(Image1);
    outer->addLayout(texts, 1);
    outer->addLayout(buttons);
    setMinimumWidth(520);
}

bool frm_about::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == Image1 || watched == lblWebsite) && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lblWebsite_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frm_about::cmdAbout_Click(int index)
{
    switch (index) {
    case 0: close(); break;
    case 1: StartSysInfo(); break;
    case 2: subShellOpenProgramFile(this, ProgramFile::License); break;
    default: break;
    }
}

void frm_about::lblWebsite_Click() { subShellOpen(this, QStringLiteral("http://") + funGetWebAddress()); }

void frm_about::StartSysInfo()
{
    if (shell::startSystemInfo())
        return;
    ui::dialogs().msgBox(this, QStringLiteral("System Information Is Unavailable At This Time"), ui::OKOnly);
}

namespace about_box {

void subShowAboutBox(QWidget *form)
{
    frm_about box(form);
    box.exec();
}

} // namespace about_box
