#include "platform/controls/ct_tray.h"

#include "platform/controls/ct_dropmenu.h"

#include <QApplication>
#include <QStyle>
#include <QSystemTrayIcon>

namespace {
// The button numbers the tray reports.
constexpr int kPrimaryButton = 1;
constexpr int kMiddleButton = 4;
} // namespace

CtTray::CtTray(QObject *parent) : QObject(parent), m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger: emit buttonNotify(kPrimaryButton); break;
        case QSystemTrayIcon::MiddleClick: emit buttonNotify(kMiddleButton); break;
        case QSystemTrayIcon::Context:
            if (!m_menu)
                emit menuRequest();
            break;
        default:
            // A double-click follows a click that was already reported.
            break;
        }
    });
}

CtTray::~CtTray() { m_icon->hide(); }

bool CtTray::isAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

QIcon CtTray::icon() const { return m_icon->icon(); }

void CtTray::setIcon(const QIcon &icon) { m_icon->setIcon(icon); }

QString CtTray::toolTip() const { return m_icon->toolTip(); }

void CtTray::setToolTip(const QString &tip) { m_icon->setToolTip(tip); }

void CtTray::show()
{
    // An icon without a picture would be an empty gap in the area.
    if (m_icon->icon().isNull()) {
        QIcon fallback = QApplication::windowIcon();
        if (fallback.isNull())
            fallback = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
        m_icon->setIcon(fallback);
    }
    m_icon->show();
}

void CtTray::remove() { m_icon->hide(); }

bool CtTray::isShown() const { return m_icon->isVisible(); }

void CtTray::setContextMenu(CtDropMenu *menu)
{
    if (m_menu)
        disconnect(m_menu, nullptr, this, nullptr);
    m_menu = menu;
    m_icon->setContextMenu(menu ? menu->menu() : nullptr);
    if (menu)
        connect(menu, &QObject::destroyed, this, [this] { m_icon->setContextMenu(nullptr); });
}

CtDropMenu *CtTray::contextMenu() const { return m_menu; }
