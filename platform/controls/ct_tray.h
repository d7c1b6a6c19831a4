#pragma once
// The program's icon in the desktop's notification area, with its tip, a
// request for the program's menu (the context button) and the button that
// was clicked on it (1 for the primary button).
//
// Where the desktop has no notification area the icon simply does not appear:
// nothing fails and nothing waits, and Qt puts the icon up should an area
// appear later.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

class QSystemTrayIcon;
class CtDropMenu;

class CtTray : public QObject {
    Q_OBJECT
public:
    explicit CtTray(QObject *parent = nullptr);
    ~CtTray() override;

    // Whether the desktop offers a notification area now.
    static bool isAvailable();

    QIcon icon() const;
    void setIcon(const QIcon &icon);
    QString toolTip() const;
    void setToolTip(const QString &tip);

    // Set before the icon is shown; kept as written.
    int displayMode() const { return m_displayMode; }
    void setDisplayMode(int mode) { m_displayMode = mode; }

    void show();
    void remove();
    bool isShown() const;

    // A menu the notification area shows by itself on the context button.
    // Some desktops report no context click at all and only show such a menu;
    // with a menu set, the context click raises no menuRequest (the menu is
    // already up), and its choices come from the menu's own itemClick.
    void setContextMenu(CtDropMenu *menu);
    CtDropMenu *contextMenu() const;

signals:
    void menuRequest();
    void buttonNotify(int button);

private:
    QSystemTrayIcon *m_icon = nullptr;
    QPointer<CtDropMenu> m_menu;
    int m_displayMode = 0;
};
