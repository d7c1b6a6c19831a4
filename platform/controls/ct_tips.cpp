#include "platform/controls/ct_tips.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
// How far the pointer may wander from where the tip was shown before the tip
// no longer belongs to what is under it.
constexpr int kStayDistance = 20;
// The tip sits below the pointer, clear of the pointer's own picture.
const QPoint kOffset(2, 20);
} // namespace

CtTips::CtTips(QWidget *parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_label = new QLabel(this);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(false);
    m_label->setMargin(3);
    m_label->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_label->setAutoFillBackground(true);
    QPalette pal = QToolTip::palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    m_label->setPalette(pal);
    layout->addWidget(m_label);
}

void CtTips::setText(const QString &text)
{
    m_text = text;
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_label->setText(shown);
    if (text.isEmpty())
        hide();
    else if (isVisible())
        adjustSize();
}

void CtTips::showAt(const QPoint &globalPos)
{
    if (m_text.isEmpty()) {
        hide();
        return;
    }
    adjustSize();
    QPoint pos = globalPos + kOffset;
    QScreen *screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        if (pos.x() + width() > room.right())
            pos.setX(room.right() - width());
        if (pos.y() + height() > room.bottom())
            pos.setY(globalPos.y() - height() - 4);
        pos.setX(qMax(pos.x(), room.left()));
        pos.setY(qMax(pos.y(), room.top()));
    }
    m_shownAt = globalPos;
    move(pos);
    show();
    raise();
}

void CtTips::showEvent(QShowEvent *event)
{
    qApp->installEventFilter(this);
    QWidget::showEvent(event);
}

void CtTips::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QWidget::hideEvent(event);
}

void CtTips::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && isVisible())
        adjustSize();
    QWidget::changeEvent(event);
}

bool CtTips::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ApplicationDeactivate: hide(); break;
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if ((at - m_shownAt).manhattanLength() > kStayDistance)
            hide();
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}
