#pragma once
// A label for text of any length that must not widen its window: it wraps
// at blanks and, where a word is wider than the label (a pasted web address),
// inside the word. It asks for no more width than a line of about forty
// characters and takes the height the wrapped text needs. text() is the text
// as set.

#include <QLabel>

class WrapLabel : public QLabel {
    Q_OBJECT
public:
    explicit WrapLabel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Lays the text out in `width` pixels; the height it takes.
    qreal layOut(class QTextLayout &layout, qreal width) const;
};
