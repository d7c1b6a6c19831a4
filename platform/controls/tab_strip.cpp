#include "platform/controls/tab_strip.h"

TabStrip::TabStrip(QWidget *parent) : QTabBar(parent)
{
    connect(this, &QTabBar::currentChanged, this, [this] {
        showFrame();
        if (!m_quiet)
            emit click();
    });
}

int TabStrip::addTab(const QString &key, const QString &caption, const QString &toolTip)
{
    // The first tab becomes the chosen one without a click: the window is
    // still being built.
    m_quiet = true;
    const int i = QTabBar::addTab(caption);
    m_quiet = false;
    setTabData(i, key);
    setTabToolTip(i, toolTip);
    showFrame();
    return i + 1;
}

void TabStrip::setSelectedIndex(int index)
{
    if (index < 1 || index > count())
        return;
    if (index - 1 == currentIndex()) {
        showFrame();
        emit click();
        return;
    }
    setCurrentIndex(index - 1);
}

QString TabStrip::key(int index) const
{
    return index >= 1 && index <= count() ? tabData(index - 1).toString() : QString();
}

int TabStrip::indexOfKey(const QString &key) const
{
    for (int i = 0; i < count(); ++i) {
        if (tabData(i).toString().compare(key, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

void TabStrip::setFrames(const QList<QWidget *> &frames)
{
    m_frames.clear();
    for (QWidget *f : frames)
        m_frames << f;
    showFrame();
}

void TabStrip::showFrame()
{
    const int current = currentIndex();
    // Hide first, so the window never holds two frames at once.
    for (int i = 0; i < m_frames.size(); ++i) {
        if (m_frames.at(i) && i != current)
            m_frames.at(i)->hide();
    }
    if (current >= 0 && current < m_frames.size() && m_frames.at(current))
        m_frames.at(current)->show();
}
