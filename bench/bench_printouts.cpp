// The printouts on the large household: the pet poster of a pet whose
// picture is a 4000 x 3000 photo, laid out into its viewer and exported to
// PDF, to the web page and to RTF (each laid out afresh, as an export from the
// viewer is); a 500-page text report (made for this benchmark) laid out, and
// laid out and written to PDF, the web page and RTF; the pet details of the
// busiest pet (1,000 diary entries, 200 vaccinations, given four rich-text
// notes and the photo here), and of all 1,000 pets, with the peak memory of
// that run; every pet's details written to PDF in a process of its own (1,000
// and 10,000 pets) beside a bare PDF writer's loop of as many pages; every
// pet's health statement, and every pet's sitter instructions with a trip,
// laid out and written to PDF; the photo album of the 5,000 pictures (each
// its own 1600 x 1200 JPEG) written to PDF, and the address book listing of
// 2,000 people. The files stay in the folder `--out DIR`
// names (by default one in the temporary folder), which is printed at the end.

#include "household.h"

#include "core/database.h"
#include "core/globals.h"
#include "platform/report/exports.h"
#include "platform/report/page_model.h"
#include "platform/report/report.h"
#include "printouts/rpt_address_book.h"
#include "printouts/rpt_picture_album.h"
#include "printouts/frm_report.h"
#include "printouts/report_handler.h"
#include "platform/dialogs.h"
#include "printouts/rpt_health_statement.h"
#include "printouts/rpt_pet_details.h"
#include "printouts/rpt_pet_poster.h"
#include "printouts/rpt_pet_sitter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

QString g_out;
constexpr long kPosterPet = 2;
constexpr int kTextRows = 23000; // 46 rows a page: 500 pages

// A camera's photo: `w` x `h` with detail enough to weigh what one does,
// different for each `seed`.
void writePhoto(const QString &path, int w, int h, int seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(40 + seed % 50, 90, 30 + seed % 70));
    g.setColorAt(1, QColor(200, 170 - seed % 60, 120));
    p.fillRect(img.rect(), g);
    for (int i = 0; i < 400; ++i)
        p.fillRect(QRect((i * 397 + seed * 13) % w, (i * 211 + seed * 7) % h, (60 + i % 90) * w / 4000,
                         (40 + i % 70) * h / 3000),
                   QColor((i * 37 + seed) % 256, (i * 91) % 256, (i * 53 + seed * 3) % 256));
    p.end();
    img.save(path, "JPEG", 90);
}

bool start(benchmark::State &state);

// The gallery's 5,000 pictures as files of their own, 1600 x 1200, made once
// into a folder kept between runs (they take minutes to write), which then
// serves as the pictures folder.
bool useAlbumPhotos(benchmark::State &state)
{
    if (!start(state))
        return false;
    const QString folder = QDir::temp().filePath(QStringLiteral("zorbi_bench_album")) + QLatin1Char('/');
    QDir().mkpath(folder);
    auto name = [](int i) { return QStringLiteral("ZB_%1.jpg").arg(i, 5, 10, QLatin1Char('0')); };
    const int count = bench::kLarge.pictures;
    const int threads = 3;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int i = 1 + t; i <= count; i += threads)
                if (!QFileInfo::exists(folder + name(i)))
                    writePhoto(folder + name(i), 1600, 1200, i);
        });
    for (std::thread &w : workers)
        w.join();
    gPicturePath = folder;
    return true;
}

bool openHousehold(int size);

bool start(benchmark::State &state)
{
    if (!openHousehold(bench::Large)) {
        state.SkipWithError("open failed");
        return false;
    }
    return true;
}

// The household of `size` opened as the program opens it, its printouts
// catalogued, and the two pets' photo and the busy pet's notes given.
bool openHousehold(int size)
{
    bench::useBenchFolder(size);
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_SystemDB(nullptr, funGetDBNameSystem()) || !funOpen_DataDB(nullptr, funGetDBNameData()))
        return false;
    report_handler::funReportInitialize();
    gPicturePath = QFileInfo(gDataDBPath).absolutePath() + QStringLiteral("/Pictures/");
    QDir().mkpath(gPicturePath);
    const QString photo = QStringLiteral("bench_photo.jpg");
    if (!QFileInfo::exists(gPicturePath + photo))
        writePhoto(gPicturePath + photo, 4000, 3000, 0);
    gDataDB->execute(QStringLiteral("UPDATE tbl_pet SET pet_picture = ? WHERE pet_id IN (?, ?)"),
                     {photo, qlonglong(kPosterPet), qlonglong(bench::kBusyPet)});
    // The household has no notes: the busy pet gets four, a few paragraphs
    // each, with bold and italic runs.
    auto note = [](const QString &what, int paragraphs) {
        QString rtf = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ");
        for (int i = 1; i <= paragraphs; ++i)
            rtf += QStringLiteral("%1, part %2: keep to the {\\b usual} routine and {\\i watch} for any change "
                                  "in appetite, mood or sleep; call the vet when in doubt.\\par ")
                       .arg(what)
                       .arg(i);
        return rtf + QLatin1Char('}');
    };
    gDataDB->execute(QStringLiteral("UPDATE tbl_pet SET pet_notes_rtf = ?, pet_care_rtf = ?, pet_feeding_rtf = ?, "
                                    "pet_insurance_details_rtf = ? WHERE pet_id = ?"),
                     {note(QStringLiteral("Notes"), 12), note(QStringLiteral("Care"), 8),
                      note(QStringLiteral("Feeding"), 6), note(QStringLiteral("Insurance"), 3),
                      qlonglong(bench::kBusyPet)});
    return true;
}

std::unique_ptr<printouts::rptPetDetails> petDetails(long pet)
{
    return std::make_unique<printouts::rptPetDetails>(
        PrintoutRequest{.reportName = QStringLiteral("Pet Details"), .petID = pet});
}

// The process's peak resident memory (VmHWM), in MB; resetPeak() starts it
// again from what is resident now.
double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

std::unique_ptr<printouts::rptPetPoster> poster()
{
    return std::make_unique<printouts::rptPetPoster>(
        PrintoutRequest{.reportName = QStringLiteral("Pet Poster"), .petID = kPosterPet});
}

// Rows of text, page header and footer with "Page n of m": about 135 texts a page.
class TextReport : public report::Report {
public:
    TextReport()
    {
        setName(QStringLiteral("rptBenchText"));
        DC.setDatabase(gDataDB.get());
        DC.setRecordSource(QStringLiteral("SELECT diary_id, diary_date, diary_category, diary_text FROM tbl_diary "
                                          "ORDER BY diary_id LIMIT ?"),
                           {kTextRows});
        const QFont f(QStringLiteral("Liberation Sans"), 9);
        pageHeader()->height = 300;
        pageHeader()->addLabel(QStringLiteral("lblTitle"), {0, 0, 6000, 300}, QStringLiteral("Diary"))->font = f;
        detail()->height = 300;
        detail()->addField(QStringLiteral("fldDate"), {0, 0, 1400, 300}, QStringLiteral("diary_date"))->font = f;
        detail()
            ->addField(QStringLiteral("fldCategory"), {1500, 0, 1800, 300}, QStringLiteral("diary_category"))
            ->font = f;
        report::Control *text =
            detail()->addField(QStringLiteral("fldText"), {3400, 0, 7000, 300}, QStringLiteral("diary_text"));
        text->font = f;
        text->wordWrap = false;
        pageFooter()->height = 300;
        pageFooter()->addLabel(QStringLiteral("lblPage"), {0, 0, 500, 300}, QStringLiteral("Page"))->font = f;
        pageFooter()->addField(QStringLiteral("Field12"), {500, 0, 500, 300})->summary = report::Control::PageNumber;
        pageFooter()->addLabel(QStringLiteral("lblOf"), {1000, 0, 300, 300}, QStringLiteral("of"))->font = f;
        pageFooter()->addField(QStringLiteral("Field13"), {1300, 0, 500, 300})->summary = report::Control::PageCount;
    }
};

void perPage(benchmark::State &state, int pages)
{
    state.counters["pages"] = pages;
    state.counters["per_page"] =
        benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The poster laid out and its viewer shown, as opening it from the pet panel does.
void BM_PetPosterOpen(benchmark::State &state)
{
    if (!start(state))
        return;
    int pages = 0;
    for (auto _ : state) {
        auto r = poster();
        if (!r->run()) {
            state.SkipWithError("no pages");
            break;
        }
        frm_report viewer;
        viewer.setReport(std::move(r));
        viewer.show();
        QCoreApplication::processEvents();
        pages = viewer.pageCount();
    }
    state.counters["pages"] = pages;
    resetGlobals();
}

// The printout `make` gives laid out and written by one writer, each time
// afresh: what an export costs the user.
using Writer = bool (*)(const report::Document &, const QString &, QString *);

template <typename Make> void layOutAndWrite(benchmark::State &state, Make make, const QString &name, Writer writer)
{
    const QString path = g_out + QLatin1Char('/') + name;
    int pages = 0;
    for (auto _ : state) {
        auto r = make();
        if (!r->run() || !writer(r->document(), path, nullptr)) {
            state.SkipWithError("not written");
            break;
        }
        pages = r->document().pageCount();
    }
    perPage(state, pages);
    state.counters["bytes"] = double(QFileInfo(path).size());
}

std::unique_ptr<TextReport> textReport() { return std::make_unique<TextReport>(); }

bool pdf(const report::Document &doc, const QString &path, QString *error)
{
    return report::exportPdf(doc, path, error);
}

void BM_PetPosterPdf(benchmark::State &state)
{
    if (start(state))
        layOutAndWrite(state, poster, QStringLiteral("pet_poster.pdf"), pdf);
    resetGlobals();
}

void BM_TextReportLayout(benchmark::State &state)
{
    if (!start(state))
        return;
    int pages = 0;
    for (auto _ : state) {
        TextReport r;
        r.run();
        pages = r.document().pageCount();
    }
    perPage(state, pages);
    resetGlobals();
}

void BM_TextReportLayoutPdf(benchmark::State &state)
{
    if (start(state))
        layOutAndWrite(state, textReport, QStringLiteral("text_report.pdf"), pdf);
    resetGlobals();
}

// The busy pet's details, every page laid out.
void BM_PetDetailsBusyPet(benchmark::State &state)
{
    if (!start(state))
        return;
    int pages = 0;
    for (auto _ : state) {
        auto r = petDetails(bench::kBusyPet);
        if (!r->run()) {
            state.SkipWithError("no pages");
            break;
        }
        pages = r->document().pageCount();
    }
    state.counters["pages"] = pages;
    resetGlobals();
}

// Every pet's details: one run over all 1,000 pets, and its peak memory
// above what was resident before it.
void BM_PetDetailsAllPets(benchmark::State &state)
{
    if (!start(state))
        return;
    int pages = 0;
    double before = 0, peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetPeak();
        before = peakMegabytes();
        state.ResumeTiming();
        auto r = petDetails(0);
        if (!r->run()) {
            state.SkipWithError("no pages");
            break;
        }
        pages = r->document().pageCount();
        state.PauseTiming();
        peak = qMax(peak, peakMegabytes() - before);
        r.reset();
        state.ResumeTiming();
    }
    perPage(state, pages);
    state.counters["peak_MB"] = peak;
    resetGlobals();
}

bool html(const report::Document &doc, const QString &path, QString *error)
{
    return report::exportHtml(doc, path, error);
}

void BM_PetPosterHtml(benchmark::State &state)
{
    if (start(state))
        layOutAndWrite(state, poster, QStringLiteral("pet_poster.htm"), html);
    resetGlobals();
}

void BM_PetPosterRtf(benchmark::State &state)
{
    if (start(state))
        layOutAndWrite(state, poster, QStringLiteral("pet_poster.rtf"), report::exportRtf);
    resetGlobals();
}

void BM_TextReportHtml(benchmark::State &state)
{
    if (start(state))
        layOutAndWrite(state, textReport, QStringLiteral("text_report.htm"), html);
    resetGlobals();
}

void BM_TextReportRtf(benchmark::State &state)
{
    if (start(state))
        layOutAndWrite(state, textReport, QStringLiteral("text_report.rtf"), report::exportRtf);
    resetGlobals();
}

// A printout of every pet laid out and written to PDF (with the trip `trip`
// makes, for the sitter's), the time per page.
template <typename Designer>
void allPetsPdf(benchmark::State &state, const QString &name, const QString &file, long (*trip)() = nullptr)
{
    if (!start(state))
        return;
    const long tripID = trip ? trip() : 0;
    // The sitter's contact prompt answers from the script (blank), never a window.
    ui::ScriptedDialogs boxes;
    ui::ScopedDialogs scope(&boxes);
    int pages = 0;
    const QString path = g_out + QLatin1Char('/') + file;
    for (auto _ : state) {
        Designer r(PrintoutRequest{.reportName = name, .tripID = tripID});
        if (!r.run()) {
            state.SkipWithError("no pages");
            break;
        }
        report::exportPdf(r.document(), path);
        pages = r.document().pageCount();
    }
    perPage(state, pages);
    state.counters["bytes"] = double(QFileInfo(path).size());
    resetGlobals();
}

long summerTrip()
{
    gDataDB->execute(QStringLiteral("DELETE FROM tbl_trip"));
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_trip (trip_name, trip_location, trip_date_begin, "
                                    "trip_date_begin_tod, trip_date_end, trip_date_end_tod, trip_contact_location, "
                                    "trip_contact_number, trip_notes) VALUES ('Summer holiday', 'Lake Tahoe', "
                                    "'2026-07-01', 'Morning', '2026-07-14', 'Evening', 'Lakeside Lodge', "
                                    "'555-0142', 'Water the plants and take in the mail.')"));
    return long(gDataDB->lastInsertId().toLongLong());
}

// Every pet's health statement.
void BM_HealthStatementAllPetsPdf(benchmark::State &state)
{
    allPetsPdf<printouts::rptHealthStatement>(state, QStringLiteral("Health Statement"),
                                              QStringLiteral("health_statement_all.pdf"));
}

// The sitter's instructions for every pet, with a trip.
void BM_PetSitterAllPetsPdf(benchmark::State &state)
{
    allPetsPdf<printouts::rptPetSitter>(state, QStringLiteral("Pet Sitter Instructions"),
                                        QStringLiteral("pet_sitter_all.pdf"), summerTrip);
}

// The photo album of every picture, laid out and written to PDF: each
// picture is decoded as the page is written, at the size it prints.
void BM_PhotoAlbumPdf(benchmark::State &state)
{
    if (!useAlbumPhotos(state))
        return;
    int pages = 0;
    const QString path = g_out + QStringLiteral("/photo_album.pdf");
    double before = 0, peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetPeak();
        before = peakMegabytes();
        state.ResumeTiming();
        printouts::rptPictureAlbum r(PrintoutRequest{.reportName = QStringLiteral("Photo Album")});
        if (!r.run()) {
            state.SkipWithError("no pages");
            break;
        }
        report::exportPdf(r.document(), path);
        pages = r.document().pageCount();
        state.PauseTiming();
        peak = qMax(peak, peakMegabytes() - before);
        state.ResumeTiming();
    }
    perPage(state, pages);
    state.counters["KB_per_page"] = pages ? double(QFileInfo(path).size()) / 1024.0 / pages : 0;
    state.counters["peak_MB"] = peak;
    resetGlobals();
}

// The address book listing of 2,000 people laid out, and laid out and
// written to PDF.
void BM_AddressBookListing(benchmark::State &state)
{
    if (!start(state))
        return;
    const bool pdf = state.range(0) != 0;
    const QString path = g_out + QStringLiteral("/address_book.pdf");
    int pages = 0;
    for (auto _ : state) {
        printouts::rptAddressBook r(PrintoutRequest{.reportName = QStringLiteral("Address Book Listing")});
        if (!r.run()) {
            state.SkipWithError("no pages");
            break;
        }
        if (pdf)
            report::exportPdf(r.document(), path);
        pages = r.document().pageCount();
    }
    perPage(state, pages);
    if (pdf)
        state.counters["KB_per_page"] = pages ? double(QFileInfo(path).size()) / 1024.0 / pages : 0;
    resetGlobals();
}

// ---- in a fresh process
// What a child process of this program does (`--child WHAT SIZE ROOT OUT`),
// then prints "pages=N peak_MB=M" (its VmHWM) and ends (pages -1: failed): the memory a user's
// own run of it takes, unswayed by the benchmarks before it.

constexpr long kPetDetailsID = 6;

// Every pet's details as the Pet Details printout makes them, written to PDF.
int childPetDetailsPdf(int size, const QString &out)
{
    if (!openHousehold(size)) {
        std::fprintf(stderr, "the household could not be opened\n");
        return -1;
    }
    std::unique_ptr<report::Report> r = report_handler::funNewDesigner(
        PrintoutRequest{.reportID = kPetDetailsID, .reportName = QStringLiteral("Pet Details"), .petID = 0});
    QString error;
    if (!r || !r->run() || !report::exportPdf(r->document(), out + QStringLiteral("/pet_details_all.pdf"), &error)) {
        std::fprintf(stderr, "no pet details: %s\n", qPrintable(error));
        return -1;
    }
    return r->document().pageCount();
}

// The anchor: a bare QPdfWriter writing `pages` pages of 135 short texts each
// (as many as a page of diary rows with its header and footer), nothing kept.
int childBarePdf(int pages, const QString &out)
{
    QPdfWriter writer(out + QStringLiteral("/bare.pdf"));
    writer.setResolution(1440);
    QPainter p(&writer);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    for (int n = 0; n < pages; ++n) {
        if (n > 0)
            writer.newPage();
        for (int i = 0; i < 135; ++i)
            p.drawText(QRect(720 + (i % 3) * 3400, 720 + (i / 3) * 300, 3300, 300), Qt::AlignLeft | Qt::AlignTop,
                       QStringLiteral("Row %1 of page %2: a walk in the park").arg(i).arg(n + 1));
    }
    return p.end() ? pages : -1;
}

// Runs this program as a child doing `what`, timed as a whole; its pages
// and peak memory as counters.
void runFresh(benchmark::State &state, const QString &what, int arg)
{
    int pages = 0;
    double peak = 0;
    for (auto _ : state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto started = std::chrono::steady_clock::now();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), what, QString::number(arg), bench::benchRoot(), g_out});
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            std::fprintf(stderr, "child: exit %d, %s\n", child.exitCode(), qPrintable(child.errorString()));
            state.SkipWithError("the child failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        for (const QByteArray &word : child.readAllStandardOutput().simplified().split(' ')) {
            if (word.startsWith("pages="))
                pages = word.mid(6).toInt();
            else if (word.startsWith("peak_MB="))
                peak = word.mid(8).toDouble();
        }
    }
    perPage(state, pages);
    state.counters["peak_MB"] = peak;
}

// All pets' details to PDF, 1,000 or 10,000 pets, each run a process of its own.
void BM_PetDetailsAllPetsPdfFresh(benchmark::State &state)
{
    runFresh(state, QStringLiteral("details"), int(state.range(0)));
}

// The anchor of the one above: as many text pages by a bare QPdfWriter.
void BM_BarePdfLoopFresh(benchmark::State &state) { runFresh(state, QStringLiteral("bare"), int(state.range(0))); }

} // namespace

BENCHMARK(BM_PetDetailsAllPetsPdfFresh)
    ->Arg(bench::Large)
    ->Arg(bench::Huge)
    ->ArgName("size")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_BarePdfLoopFresh)
    ->Arg(500)
    ->Arg(3381)
    ->Arg(33842)
    ->ArgName("pages")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_PhotoAlbumPdf)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_AddressBookListing)->Arg(0)->Arg(1)->ArgName("pdf")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HealthStatementAllPetsPdf)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PetSitterAllPetsPdf)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PetDetailsBusyPet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PetDetailsAllPets)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PetPosterOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PetPosterPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextReportLayout)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TextReportLayoutPdf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PetPosterHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PetPosterRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextReportHtml)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TextReportRtf)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // --out DIR is ours; the rest is the benchmark library's.
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--out" && i + 1 < argc)
            g_out = QString::fromLocal8Bit(argv[++i]);
        else
            args.push_back(argv[i]);
    }
    if (g_out.isEmpty())
        g_out = QDir::temp().filePath(QStringLiteral("zorbi_bench_printouts"));
    QDir().mkpath(g_out);
    g_out = QFileInfo(g_out).absoluteFilePath();
    int n = int(args.size());
    QApplication app(n, args.data());
    if (n == 6 && QByteArray(args[1]) == "--child") {
        const QString what = QString::fromLocal8Bit(args[2]);
        const int arg = QByteArray(args[3]).toInt();
        bench::useBenchRoot(QString::fromLocal8Bit(args[4]));
        const QString out = QString::fromLocal8Bit(args[5]);
        const int pages = what == QLatin1String("bare") ? childBarePdf(arg, out) : childPetDetailsPdf(arg, out);
        resetGlobals();
        if (pages < 0)
            return 1;
        std::printf("pages=%d peak_MB=%.1f\n", pages, peakMegabytes());
        return 0;
    }
    // The huge household takes a minute and more to make: only for the runs
    // that ask for it.
    bool huge = true;
    for (int i = 1; i < n; ++i)
        if (QByteArray(args[i]).startsWith("--benchmark_filter=") && !QByteArray(args[i]).contains("Fresh"))
            huge = false;
    const int rc = bench::runBenchmarks(n, args.data(), huge ? bench::Huge : bench::Large);
    std::printf("Files written to %s\n", qPrintable(g_out));
    return rc;
}
