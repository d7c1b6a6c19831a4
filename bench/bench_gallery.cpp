// The photo gallery shown in the large-icon view, on real JPEG files of 1600
// by 1200 pixels (about 330 KB each, 16 different pictures, each file a hard
// link to one of them so that 50,000 of them take no room): the large
// household with 5,000 and with 50,000 pictures. Each figure is what the
// user waits for: from opening the gallery to its first screen of thumbnails
// read and painted; the rest is read in the background meanwhile.

#include "apps/routines.h"
#include "core/codes.h"
#include "household.h"

#include "core/database.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/settings.h"
#include "core/system.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/db/database.h"
#include "platform/thumbnails.h"
#include "printouts/report_handler.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QListView>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QtConcurrent/QtConcurrentMap>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <numeric>
#include <unistd.h>

#include <sys/resource.h>

namespace {

constexpr int kVariants = 16;
const char *const kChildVariable = "ZORBI_BENCH_GALLERY_CHILD";

// A photo-like picture: soft colour areas, shapes and some grain, so that
// the file is as large as a camera's and takes as long to decode.
QByteArray photoJpeg(int variant)
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 1200);
    sky.setColorAt(0, QColor::fromHsv((variant * 23) % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((variant * 23 + 90) % 360, 160, 90));
    p.fillRect(image.rect(), sky);
    QRandomGenerator rng(quint32(variant + 1));
    for (int i = 0; i < 40; ++i) {
        p.setBrush(QColor::fromHsv(rng.bounded(360), 150, 60 + rng.bounded(180)));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(rng.bounded(1600), rng.bounded(1200)), 20 + rng.bounded(200), 20 + rng.bounded(150));
    }
    p.end();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(rng.bounded(17)) - 8;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes;
}

QString pictureFile(const QString &folder, int n)
{
    return folder + QStringLiteral("/ZB_%1.jpg").arg(n, 5, 10, QLatin1Char('0'));
}

// The household's picture files ZB_00001.jpg ... as its records name them:
// the variants written once, each further file a hard link to one.
bool writePictures(const QString &folder, int count, double *averageBytes)
{
    QDir().mkpath(folder);
    const QString variantFolder = folder + QStringLiteral("/variants");
    QDir().mkpath(variantFolder);
    QList<int> numbers(kVariants);
    std::iota(numbers.begin(), numbers.end(), 0);
    const QList<QByteArray> variants = QtConcurrent::blockingMapped<QList<QByteArray>>(numbers, photoJpeg);
    double total = 0;
    for (int v = 0; v < kVariants; ++v) {
        QFile f(variantFolder + QStringLiteral("/%1.jpg").arg(v));
        if (!f.open(QIODevice::WriteOnly) || f.write(variants[v]) != variants[v].size())
            return false;
        total += double(variants[v].size());
    }
    *averageBytes = total / kVariants;
    for (int n = 1; n <= count; ++n) {
        const QString target = pictureFile(folder, n);
        QFile::remove(target);
        const QString source = variantFolder + QStringLiteral("/%1.jpg").arg(n % kVariants);
        if (::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
            return false;
    }
    return true;
}

// The household's pictures made `count`: rows added under new numbers, or
// those beyond it removed.
bool setPictureCount(int count)
{
    auto rs = gDataDB->openRecordset(QStringLiteral("SELECT COUNT(*), COALESCE(MAX(picture_id), 0) FROM tbl_picture"));
    if (!rs)
        return false;
    const int now = rs->field(0).toInt();
    const int top = rs->field(1).toInt();
    rs.reset();
    if (now > count)
        return gDataDB->execute(QStringLiteral("DELETE FROM tbl_picture WHERE picture_id IN (SELECT picture_id FROM "
                                               "tbl_picture ORDER BY picture_id LIMIT -1 OFFSET ?)"),
                                {count});
    if (now == count)
        return true;
    return gDataDB->execute(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT ? UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                       "INSERT INTO tbl_picture (picture_pet_id, picture_title, picture_description, picture_date, "
                       "picture_category, picture_filename) SELECT 1 + i % 1000, 'Picture ' || i, 'At the beach', "
                       "'2024-06-01', 'Outings', printf('ZB_%05d.jpg', i) FROM n"),
        {top + 1, top + (count - now)});
}

// Opens the large household's files with `count` pictures and makes the main
// window, as start-up does. `root` is the benchmarks' root (a child process
// is told it).
QString g_error;
double g_averageBytes = 0;
bool start(const QString &root, int count, bool writeFiles)
{
    const QString folder = bench::benchFolder(root, bench::Large);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + QStringLiteral("/settings"));
    setProgramFolder(folder);
    funPref_Set(QStringLiteral("Database"), folder + QStringLiteral("/Zorbi.dat"));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root + QStringLiteral("/cache")));
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_SystemDB(nullptr, funGetDBNameSystem()) || !funOpen_DataDB(nullptr, funGetDBNameData())) {
        g_error = QStringLiteral("open failed");
        return false;
    }
    gPicturePath = funGetPicturesFolder() + QLatin1Char('/');
    if (!setPictureCount(count)) {
        g_error = QStringLiteral("the pictures could not be counted in");
        return false;
    }
    static int written = 0;
    if (writeFiles && written < count) {
        if (!writePictures(funGetPicturesFolder(), count, &g_averageBytes)) {
            g_error = QStringLiteral("the pictures could not be written");
            return false;
        }
        written = count;
    }
    report_handler::funReportInitialize();
    gControls = new frm_controls;
    gMain = new frm_main;
    gMain->resize(1000, 700);
    gMain->show();
    QCoreApplication::processEvents();
    return true;
}

bool start(benchmark::State &state)
{
    if (start(bench::benchRoot(), int(state.range(0)), true)) {
        state.counters["KB a file"] = g_averageBytes / 1024.0;
        return true;
    }
    state.SkipWithError(qPrintable(g_error));
    return false;
}

// CPU seconds of the whole process, every thread counted.
double processCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void clearThumbnailCache() { QDir(thumbnails::cacheRoot()).removeRecursively(); }

// The gallery as the list bar's "Photo Gallery" shows it, until its first
// screen of thumbnails (and the screen's worth either side that the view asks
// for with it) is read and painted.
void showGallery()
{
    funPictureHandler(gMain, ActionShow, 0, QString(), 0);
    QCoreApplication::processEvents(); // drawn with the stand-ins; the view says what it shows
    QCoreApplication::processEvents();
    while (gMain->ImageListPicture_Large->wantedUnread() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents(); // the thumbnails drawn
}

// The items the gallery's first screen shows.
int visibleCount()
{
    auto *view = gMain->ListView_Picture->findChild<QListView *>(QStringLiteral("iconView"));
    int shown = 0;
    for (int row = 0; row < std::min(1000, view->model()->rowCount()); ++row)
        shown += view->viewport()->rect().intersects(view->visualRect(view->model()->index(row, 0))) ? 1 : 0;
    return shown;
}

void finish(benchmark::State &state, double cpuSeconds)
{
    state.counters["all threads CPU s"] = cpuSeconds / double(state.iterations());
    state.counters["pictures"] = gMain->ListView_Picture->ItemCount();
    state.counters["on screen"] = visibleCount();
    resetGlobals();
}

// No thumbnail in the cache: the first screen's files are decoded (and the
// cache written).
void BM_GalleryFirstFill(benchmark::State &state)
{
    if (!start(state))
        return;
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The last fill's background reading stops first.
        gMain->ImageListPicture_Large->clear();
        clearThumbnailCache();
        const double before = processCpuSeconds();
        state.ResumeTiming();
        showGallery();
        cpu += processCpuSeconds() - before;
    }
    finish(state, cpu);
}

// The first screen's thumbnails in the disk cache, as on a later showing of
// the gallery.
void BM_GalleryRefill(benchmark::State &state)
{
    if (!start(state))
        return;
    clearThumbnailCache();
    showGallery();
    const double before = processCpuSeconds();
    for (auto _ : state)
        showGallery();
    finish(state, processCpuSeconds() - before);
}

// The anchor: the files of one first screen and the screen after it (what
// the gallery reads first, 16 + 16 items at 1000 by 700) decoded at
// thumbnail size on all cores, nothing else.
void BM_BareScaledDecode(benchmark::State &state)
{
    const QString folder = bench::benchFolder(bench::benchRoot(), bench::Large) + QStringLiteral("/Pictures");
    QList<int> numbers(int(state.range(0)));
    std::iota(numbers.begin(), numbers.end(), 1);
    for (auto _ : state) {
        const QList<QImage> images = QtConcurrent::blockingMapped<QList<QImage>>(numbers, [&folder](int n) {
            QImageReader reader(pictureFile(folder, n));
            reader.setScaledSize(QSize(128, 96));
            return reader.read();
        });
        benchmark::DoNotOptimize(images);
    }
}

// A fresh process opens the gallery with an empty thumbnail cache: the time
// to its first screen, and the peak of its memory then and after reading on
// in the background for up to a minute.
void BM_GalleryFreshProcess(benchmark::State &state)
{
    // The files are there and counted in before the child starts.
    if (!start(state))
        return;
    resetGlobals();
    for (auto _ : state) {
        QDir(bench::benchRoot() + QStringLiteral("/cache/thumbnails")).removeRecursively();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildVariable),
                   bench::benchRoot() + QLatin1Char(';') + QString::number(state.range(0)));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForFinished(600000)) {
            state.SkipWithError("the child did not finish");
            return;
        }
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 4) {
            state.SkipWithError("the child failed");
            return;
        }
        state.SetIterationTime(fields[0].toDouble());
        state.counters["peak MB at first screen"] = fields[1].toDouble() / 1024.0;
        state.counters["peak MB reading on"] = fields[2].toDouble() / 1024.0;
        state.counters["background s"] = fields[3].toDouble();
    }
}

// Peak resident memory of this process in KB.
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// The child of BM_GalleryFreshProcess: "seconds peakKB peakKB backgroundSeconds".
int runChild(const QString &spec)
{
    const QStringList parts = spec.split(QLatin1Char(';'));
    if (parts.size() != 2 || !start(parts[0], parts[1].toInt(), false))
        return 1;
    QElapsedTimer timer;
    timer.start();
    showGallery();
    const double firstScreen = double(timer.nsecsElapsed()) / 1e9;
    const long atFirstScreen = peakKb();
    timer.restart();
    while (gMain->ImageListPicture_Large->isReading() && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    std::printf("%f %ld %ld %f\n", firstScreen, atFirstScreen, peakKb(), double(timer.elapsed()) / 1000.0);
    std::fflush(stdout);
    resetGlobals();
    return 0;
}

} // namespace

BENCHMARK(BM_GalleryFirstFill)
    ->ArgNames({"pictures"})
    ->Arg(5000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_GalleryRefill)->ArgNames({"pictures"})->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareScaledDecode)->ArgNames({"files"})->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GalleryFreshProcess)
    ->ArgNames({"pictures"})
    ->Arg(5000)
    ->Arg(50000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installProgramRoutines();
    if (!qEnvironmentVariableIsEmpty(kChildVariable))
        return runChild(qEnvironmentVariable(kChildVariable));
    return bench::runBenchmarks(argc, argv);
}
