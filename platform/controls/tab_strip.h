#pragma once
// The tab strip: tabs with a key, a caption and a tip, counted from 1. The
// window's frames can be handed to it, one per tab: choosing tab i shows
// frame i and hides the others. The click event comes after every change of
// the chosen tab, by the user or by code, and also when code chooses the tab
// that is already chosen, so a window's set-up in its click handler always runs.

#include <QList>
#include <QPointer>
#include <QString>
#include <QTabBar>

class TabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TabStrip(QWidget *parent = nullptr);

    // Adds a tab at the end; returns its index (from 1).
    int addTab(const QString &key, const QString &caption, const QString &toolTip = {});
    using QTabBar::addTab;

    int tabCount() const { return count(); }
    // The chosen tab, 1 to tabCount(); 0 when there are no tabs.
    int SelectedIndex() const { return currentIndex() + 1; }
    void setSelectedIndex(int index);
    QString key(int index) const;
    // The index of the tab with `key` (without regard to case); 0 for none.
    int indexOfKey(const QString &key) const;

    // Frame i belongs to tab i (a null entry for a tab without one).
    void setFrames(const QList<QWidget *> &frames);

signals:
    void click();

private:
    void showFrame();

    QList<QPointer<QWidget>> m_frames;
    bool m_quiet = false;
};
