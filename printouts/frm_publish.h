#pragma once
// The publish options: which of the pet's lists go on its web page. OK
// confirms the four boxes; Cancel leaves the window unconfirmed.

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

    // Whether OK closed the window, and what the page holds by its boxes.
    bool confirmed() const { return m_confirmed; }
    bool publishDiary() const { return m_diary; }
    bool publishVaccinations() const { return m_vaccinations; }
    bool publishCommands() const { return m_commands; }
    bool publishMisc() const { return m_misc; }

private:
    bool m_confirmed = false;
    bool m_diary = true, m_vaccinations = true, m_commands = true, m_misc = true;
};
