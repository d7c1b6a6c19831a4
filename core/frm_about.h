#pragma once
// The About box: the program's title and version, its web site, the system
// information tool and the licence agreement.

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

// "Version 1.2 (Build 34)" for the version "1.2.34".
QString funVersionText(const QString &version);

class frm_about : public QDialog {
    Q_OBJECT
public:
    explicit frm_about(QWidget *parent = nullptr);

    QLabel *Image1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblWebsite = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QGroupBox *fraAcknowledgements = nullptr;
    // 0 closes, 1 "&System Info", 2 "License &Agreement".
    QPushButton *cmdAbout[3] = {};

    void cmdAbout_Click(int index);
    // The web site, from the logo or its address.
    void lblWebsite_Click();
    // Starts the system's information tool, or says there is none.
    void StartSysInfo();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

namespace about_box {
// Shows the About box modally over `form` until it is closed.
void subShowAboutBox(QWidget *form);
} // namespace about_box
