#pragma once
// The publish options: which of the pet's lists go on its web page. OK sets
// the four publish flags from the boxes and gReportOptionsOK; Cancel leaves
// them as they were.

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

class frm_publish : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 1001;

    explicit frm_publish(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    // 0 vaccinations, 1 diary, 2 misc. information, 3 commands.
    std::array<QCheckBox *, 4> chkExportOptions{};
    // 1 OK, 2 Cancel (0 is not used).
    std::array<QPushButton *, 3> cmdPublish{};
    int HelpContextID = kHelpContext;

    void cmdPublish_Click(int index);
};
