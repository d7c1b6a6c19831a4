#pragma once
// The reminder program's hidden form: its icon in the notification area with
// the icon's menu, the pictures of the menu and the reminder window, and the
// timer that drives the reminder check.

#include "platform/controls/ct_image.h"

#include <QWidget>

class CtDropMenu;
class CtTray;
class QTimer;

class frm_systray : public QWidget {
    Q_OBJECT
public:
    explicit frm_systray(QWidget *parent = nullptr);
    ~frm_systray() override;

    CtTray *ctTray1 = nullptr;
    CtDropMenu *ctDropMenu1 = nullptr;
    CtImage ctImage1{CtImage::Store::Tray};
    QTimer *Timer1 = nullptr;

    void Timer1_Timer();
    void ctTray1_MenuRequest();
    void ctTray1_ButtonNotify(int button);
    void ctDropMenu1_ItemClick(int menu, int entry);
};

extern frm_systray *gSystray;
