#include "platform/help_window.h"
#include "platform/shell.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace help {

namespace {

QPointer<HelpWindow> g_window;

const QString kContents = QStringLiteral("contents.html");
const QString kIndex = QStringLiteral("index.html");
const QString kSearch = QStringLiteral("search.html");

QString missingPage(const QString &file)
{
    return QStringLiteral("<html><head><title>No help for this topic</title></head><body>"
                          "<h2>No help for this topic</h2>"
                          "<p>There is no help for this topic (%1).</p>"
                          "<p><a href=\"contents.html\">Help contents</a></p></body></html>")
        .arg(file.toHtmlEscaped());
}

} // namespace

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (type == QTextDocument::HtmlResource && name.isLocalFile() && !QFileInfo(name.toLocalFile()).isFile())
        return missingPage(name.fileName());
    return QTextBrowser::loadResource(type, name);
}

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_help"));
    setWindowTitle(QStringLiteral("Zorbi 2003 Help"));
    resize(720, 540);

    auto makeButton = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    m_back = makeButton("cmdBack", tr("&Back"));
    m_forward = makeButton("cmdForward", tr("&Forward"));
    QPushButton *contents = makeButton("cmdContents", tr("&Contents"));
    QPushButton *index = makeButton("cmdIndex", tr("&Index"));
    QPushButton *searchButton = makeButton("cmdSearch", tr("&Search"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_back, m_forward, contents, index, searchButton})
        buttons->addWidget(b);
    buttons->addStretch();

    m_searchPanel = new QWidget(this);
    m_searchPanel->setObjectName(QStringLiteral("panelSearch"));
    auto *searchLabel = new QLabel(tr("&Words to find:"), m_searchPanel);
    m_searchText = new QLineEdit(m_searchPanel);
    m_searchText->setObjectName(QStringLiteral("txtSearch"));
    m_searchText->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_searchText);
    m_results = new QListWidget(m_searchPanel);
    m_results->setObjectName(QStringLiteral("lstSearchResults"));
    m_searchStatus = new QLabel(m_searchPanel);
    m_searchStatus->setObjectName(QStringLiteral("lblSearchStatus"));
    auto *searchLayout = new QVBoxLayout(m_searchPanel);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(m_searchText);
    searchLayout->addWidget(m_results, 1);
    searchLayout->addWidget(m_searchStatus);
    m_searchPanel->hide();

    m_browser = new HelpBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenLinks(false); // links are followed below, addresses by the desktop

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->addWidget(m_searchPanel);
    m_splitter->addWidget(m_browser);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_splitter, 1);

    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(contents, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(index, &QPushButton::clicked, this, &HelpWindow::showIndex);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::showSearch);
    connect(m_searchText, &QLineEdit::textChanged, this, &HelpWindow::runSearch);
    connect(m_results, &QListWidget::itemActivated, this, &HelpWindow::openResult);
    connect(m_results, &QListWidget::itemClicked, this, &HelpWindow::openResult);
}

void HelpWindow::setHelpFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (clean == m_folder)
        return;
    m_folder = clean;
    m_indexed = false;
    m_pages.clear();
    m_browser->clearHistory();
}

void HelpWindow::showPage(const QString &page)
{
    const QUrl url = QUrl::fromLocalFile(m_folder + QLatin1Char('/') + page);
    if (url == m_browser->source())
        m_browser->reload(); // a page written since it was shown is read again
    else
        m_browser->setSource(url);
}

void HelpWindow::showContents()
{
    m_searchPanel->hide();
    showPage(kContents);
}

void HelpWindow::showIndex()
{
    m_searchPanel->hide();
    showPage(kIndex);
}

void HelpWindow::showSearch()
{
    m_indexed = false; // read the pages afresh for each search session
    showPage(kSearch);
    if (m_searchPanel->isHidden()) {
        m_searchPanel->show();
        // A panel hidden when the splitter was laid out comes back with no width.
        const int total = qMax(m_splitter->width(), 720);
        m_splitter->setSizes({total * 3 / 10, total - total * 3 / 10});
    }
    m_searchText->setFocus();
    m_searchText->selectAll();
    runSearch(m_searchText->text());
}

void HelpWindow::placeOnScreen()
{
    QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const bool overOwner = owner && owner->isVisible();
    QScreen *screen = overOwner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // The window manager's frame, guessed until the window has had one.
    QSize frame = frameGeometry().size() - size();
    if (frame.isNull() && !m_placed)
        frame = QSize(8, 32);
    const QSize fits = size().boundedTo(room.size() - frame);
    if (fits != size())
        resize(fits);
    QRect where(QPoint(0, 0), fits + frame);
    if (!m_placed)
        where.moveCenter(overOwner ? owner->frameGeometry().center() : room.center());
    else
        where.moveTopLeft(pos());
    m_placed = true;
    where.moveRight(qMin(where.right(), room.right()));
    where.moveBottom(qMin(where.bottom(), room.bottom()));
    where.moveLeft(qMax(where.left(), room.left()));
    where.moveTop(qMax(where.top(), room.top()));
    move(where.topLeft());
}

void HelpWindow::present()
{
    // Over the window that asks, and all of it on the screen: left to the
    // window manager it opened wherever there was room, its foot off the screen.
    if (!isVisible())
        placeOnScreen();
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

QString HelpWindow::currentPage() const { return m_browser->source().fileName(); }

bool HelpWindow::isMissingPage() const
{
    const QUrl url = m_browser->source();
    return !url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile();
}

bool HelpWindow::isSearchShown() const { return !m_searchPanel->isHidden(); }

void HelpWindow::indexPages()
{
    if (m_indexed)
        return;
    m_pages.clear();
    const QFileInfoList files = QDir(m_folder).entryInfoList({QStringLiteral("*.html"), QStringLiteral("*.htm")},
                                                             QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &fi : files) {
        // The contents, index and search pages name every subject: no answer.
        const QString name = fi.fileName();
        if (name.compare(kSearch, Qt::CaseInsensitive) == 0 || name.compare(kContents, Qt::CaseInsensitive) == 0
            || name.compare(kIndex, Qt::CaseInsensitive) == 0)
            continue;
        QFile f(fi.absoluteFilePath());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(f.readAll()));
        Page p;
        p.file = fi.fileName();
        p.title = doc.metaInformation(QTextDocument::DocumentTitle).trimmed();
        if (p.title.isEmpty())
            p.title = fi.completeBaseName();
        p.text = p.title + QLatin1Char('\n') + doc.toPlainText();
        m_pages.append(p);
    }
    std::stable_sort(m_pages.begin(), m_pages.end(),
                     [](const Page &a, const Page &b) { return QString::localeAwareCompare(a.title, b.title) < 0; });
    m_indexed = true;
}

QStringList HelpWindow::search(const QString &words)
{
    const QStringList wanted = words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (wanted.isEmpty())
        return {};
    indexPages();
    QStringList found;
    for (const Page &p : std::as_const(m_pages)) {
        const bool all = std::all_of(wanted.begin(), wanted.end(),
                                     [&p](const QString &w) { return p.text.contains(w, Qt::CaseInsensitive); });
        if (all)
            found.append(p.file);
    }
    return found;
}

void HelpWindow::runSearch(const QString &words)
{
    if (m_searchText->text() != words) {
        m_searchText->setText(words); // the box's textChanged runs the search
        return;
    }
    m_results->clear();
    const QStringList found = search(words);
    for (const QString &file : found) {
        const auto page =
            std::find_if(m_pages.cbegin(), m_pages.cend(), [&file](const Page &p) { return p.file == file; });
        auto *item = new QListWidgetItem(page != m_pages.cend() ? page->title : file, m_results);
        item->setData(Qt::UserRole, file);
    }
    m_searchStatus->setText(found.isEmpty() && !words.trimmed().isEmpty() ? tr("No topics found.") : QString());
}

void HelpWindow::openResult(QListWidgetItem *item)
{
    if (item)
        showPage(item->data(Qt::UserRole).toString());
}

void HelpWindow::followLink(const QUrl &link)
{
    const QUrl url = m_browser->source().resolved(link);
    if (url.isLocalFile() && url.fileName().compare(kSearch, Qt::CaseInsensitive) == 0 && !url.hasFragment())
        showSearch(); // a page's own "Search" link opens the search box too
    else if (url.isLocalFile() || url.scheme().isEmpty())
        m_browser->setSource(url);
    else
        shell::openAddress(url.toString());
}

HelpWindow *helpWindow() { return g_window.data(); }

HelpWindow *helpWindowFor(QWidget *owner)
{
    QWidget *ownerWindow = owner ? owner->window() : nullptr;
    if (!g_window) {
        g_window = new HelpWindow(ownerWindow);
    } else if (ownerWindow != g_window && g_window->parentWidget() != ownerWindow) {
        // Move it under the window asking, or a modal window would shut it out.
        const QRect where = g_window->geometry();
        g_window->setParent(ownerWindow, g_window->windowFlags());
        g_window->setGeometry(where);
    }
    return g_window.data();
}

void closeHelpWindow()
{
    if (g_window)
        g_window->close();
}

} // namespace help
