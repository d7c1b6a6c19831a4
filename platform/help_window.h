#pragma once
// The program's help: one window, not modal, over the HTML pages of the help
// folder (contents, index, search and a page per topic), with the usual
// back and forward moves and a search through the pages' text.

#include <QString>
#include <QStringList>
#include <QTextBrowser>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSplitter;

namespace help {

// Shows a page of its own in place of one that is not there, so that a topic
// without a page still says so.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl &name) override;
};

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // The folder of the pages; changing it forgets the pages seen so far.
    void setHelpFolder(const QString &folder);

    // Shows a page of the help folder by its file name ("2501.html").
    void showPage(const QString &page);
    void showContents();
    void showIndex();
    // The search page, with the search box beside it.
    void showSearch();

    // Shows the window above the others and gives it the keyboard.
    void present();

    // The file name of the page on show, and whether that page is missing (the
    // window then shows that there is no help for the topic).
    QString currentPage() const;
    bool isMissingPage() const;
    bool isSearchShown() const;
    QTextBrowser *browser() const { return m_browser; }

    // The pages (file names) whose text holds every one of `words`, any case,
    // in the order of their titles. Blank words find nothing.
    QStringList search(const QString &words);
    // Puts the pages found for `words` into the results list.
    void runSearch(const QString &words);

private:
    // Sized and moved to lie wholly on the screen: centred over the owner's
    // window the first time, afterwards where it was left, pulled back in.
    void placeOnScreen();

    struct Page {
        QString file, title, text;
    };
    void indexPages();
    void openResult(QListWidgetItem *item);
    void followLink(const QUrl &link);

    QString m_folder;
    QList<Page> m_pages;
    bool m_indexed = false;
    bool m_placed = false;

    HelpBrowser *m_browser = nullptr;
    QPushButton *m_back = nullptr, *m_forward = nullptr;
    QSplitter *m_splitter = nullptr;
    QWidget *m_searchPanel = nullptr;
    QLineEdit *m_searchText = nullptr;
    QListWidget *m_results = nullptr;
    QLabel *m_searchStatus = nullptr;
};

// The help window once it has been opened (it may be hidden), else nullptr.
HelpWindow *helpWindow();
// The help window, made when there is none, owned by `owner`'s window so that
// it answers while that window is modal. Not yet shown.
HelpWindow *helpWindowFor(QWidget *owner);
// Closes the help window if it is open.
void closeHelpWindow();

} // namespace help
