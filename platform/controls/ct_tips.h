#pragma once
// A tip window of the program's own, in the font its owner gives it. The text
// is shown exactly as written, never read as markup, so a name holding "<"
// shows as typed. Lines are separated by a carriage return and line feed.
// The tip goes away when its text becomes empty, and, like any tool tip, when
// the user presses a key or a button, turns the wheel, or moves the pointer
// away from where it was shown.

#include <QPoint>
#include <QString>
#include <QWidget>

class QLabel;

class CtTips : public QWidget {
    Q_OBJECT
public:
    explicit CtTips(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    // Shows the tip just below and right of a point on the screen (the
    // pointer's place), kept on that screen; nothing is shown for an empty text.
    void showAt(const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QLabel *m_label = nullptr;
    QString m_text;
    QPoint m_shownAt;
};
