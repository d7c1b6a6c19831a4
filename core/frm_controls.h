#pragma once
// The hidden form of shared controls: the icon store and the six shared context menus.

#include "platform/controls/ct_image.h"

#include <QWidget>

class CtDropMenuArray;

class frm_controls : public QWidget {
    Q_OBJECT
public:
    explicit frm_controls(QWidget *parent = nullptr);
    ~frm_controls() override;

    CtImage ctImageMain;
    CtDropMenuArray *ctDropMenuContext = nullptr;

    // A click on one of the shared context menus; `form` is the window that popped it up.
    void ctDropMenuContext_ItemClick(int menu, int item);
};

extern frm_controls *gControls;

// A picture of the store's general group (group 0), as the windows' buttons and
// menus use it; none before the shared controls are loaded.
QIcon storeIcon(int index);
