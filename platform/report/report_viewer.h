#pragma once
// The pages of a laid-out report on screen: one page at a time, at a zoom,
// on a paper colour that is the screen's alone (printing and exports never
// see it).

#include "platform/report/page_model.h"

#include <QColor>
#include <QScrollArea>

class QLabel;

namespace report {

class ReportViewer : public QScrollArea {
    Q_OBJECT
public:
    explicit ReportViewer(QWidget *parent = nullptr);

    // The document shown; it must outlive the viewer or be set anew.
    void setDocument(const Document *doc);
    const Document *document() const { return m_doc; }
    int pageCount() const { return m_doc ? m_doc->pageCount() : 0; }

    // The page on screen, 0-based; out-of-range values are brought inside.
    int page() const { return m_page; }
    void setPage(int index);
    void firstPage() { setPage(0); }
    void previousPage() { setPage(m_page - 1); }
    void nextPage() { setPage(m_page + 1); }
    void lastPage() { setPage(pageCount() - 1); }

    // Percent of the page's real size; kept within the zoom steps' range.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    void zoomIn();
    void zoomOut();
    static const QList<int> &zoomSteps();

    QColor backColor() const { return m_paper; }
    void setBackColor(const QColor &paper);

    // The picture of the page as it is on screen.
    QImage shownImage() const { return m_shown; }

signals:
    void pageChanged(int index);
    void zoomChanged(int percent);

private:
    void render();

    const Document *m_doc = nullptr;
    int m_page = 0;
    int m_zoom = 100;
    QColor m_paper = Qt::white;
    QLabel *m_label = nullptr;
    QImage m_shown;
};

} // namespace report
