#include "platform/controls/wrap_label.h"

#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace {
constexpr int kHintChars = 40; // the width asked for, in average characters
constexpr int kLeastChars = 8; // the least width it can do with
} // namespace

WrapLabel::WrapLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

qreal WrapLabel::layOut(QTextLayout &layout, qreal width) const
{
    QTextOption option(alignment());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setText(text());
    layout.setFont(font());
    layout.setTextOption(option);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax<qreal>(width, 1));
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

int WrapLabel::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    QTextLayout layout;
    const qreal height = layOut(layout, width - m.left() - m.right() - 2 * margin());
    return qCeil(qMax<qreal>(height, fontMetrics().height())) + m.top() + m.bottom() + 2 * margin();
}

QSize WrapLabel::sizeHint() const
{
    const QMargins m = contentsMargins();
    const int whole = fontMetrics().horizontalAdvance(text()) + 1;
    const int width = qMin(whole, fontMetrics().averageCharWidth() * kHintChars) + m.left() + m.right() + 2 * margin();
    return {width, heightForWidth(width)};
}

QSize WrapLabel::minimumSizeHint() const
{
    const QMargins m = contentsMargins();
    const int whole = fontMetrics().horizontalAdvance(text()) + 1;
    const int width = qMin(whole, fontMetrics().averageCharWidth() * kLeastChars) + m.left() + m.right() + 2 * margin();
    // The height follows the width given (heightForWidth); at the least, a line.
    return {width, fontMetrics().height() + m.top() + m.bottom() + 2 * margin()};
}

void WrapLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    QTextLayout layout;
    layOut(layout, r.width());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    layout.draw(&p, r.topLeft());
}
