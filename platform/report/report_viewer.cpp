#include "platform/report/report_viewer.h"

#include <QLabel>
#include <QPixmap>
#include <algorithm>

namespace report {

ReportViewer::ReportViewer(QWidget *parent) : QScrollArea(parent)
{
    m_label = new QLabel;
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setMargin(12);
    setWidget(m_label);
    setWidgetResizable(true);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
}

const QList<int> &ReportViewer::zoomSteps()
{
    static const QList<int> steps{25, 50, 75, 100, 125, 150, 200, 300, 400};
    return steps;
}

void ReportViewer::setDocument(const Document *doc)
{
    m_doc = doc;
    m_page = 0;
    render();
    emit pageChanged(m_page);
}

void ReportViewer::setPage(int index)
{
    const int clamped = std::clamp(index, 0, std::max(0, pageCount() - 1));
    if (clamped == m_page)
        return;
    m_page = clamped;
    render();
    emit pageChanged(m_page);
}

void ReportViewer::setZoom(int percent)
{
    const int z = std::clamp(percent, zoomSteps().first(), zoomSteps().last());
    if (z == m_zoom)
        return;
    m_zoom = z;
    render();
    emit zoomChanged(m_zoom);
}

void ReportViewer::zoomIn()
{
    for (int step : zoomSteps())
        if (step > m_zoom)
            return setZoom(step);
}

void ReportViewer::zoomOut()
{
    const QList<int> &steps = zoomSteps();
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        if (*it < m_zoom)
            return setZoom(*it);
}

void ReportViewer::setBackColor(const QColor &paper)
{
    if (paper == m_paper)
        return;
    m_paper = paper;
    render();
}

void ReportViewer::render()
{
    if (!m_doc || m_doc->isEmpty()) {
        m_shown = QImage();
        m_label->clear();
        return;
    }
    // Device pixels a twip: the screen's resolution at the zoom.
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    const double dpr = devicePixelRatioF();
    const double scale = dpi / kTwipsPerInch * m_zoom / 100.0 * dpr;
    m_shown = renderPage(*m_doc, m_page, scale, m_paper);
    QPixmap pm = QPixmap::fromImage(m_shown);
    pm.setDevicePixelRatio(dpr);
    m_label->setPixmap(pm);
}

} // namespace report
