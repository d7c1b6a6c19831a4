// The photo gallery shown in the large-icon view, on real JPEG files of 1600
// by 1200 pixels: the realistic household's 100 pictures and the large one's
// 5,000, on a first fill (no thumbnail cached) and on a refill (every
// thumbnail in the cache).

#include "apps/routines.h"
#include "core/codes.h"
#include "household.h"

#include "core/database.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/system.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/db/database.h"
#include "platform/thumbnails.h"
#include "printouts/report_handler.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtConcurrent/QtConcurrentMap>
#include <benchmark/benchmark.h>
#include <numeric>

#include <sys/resource.h>

namespace {

constexpr int kVariants = 16;

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

// The household's picture files ZB_00001.jpg ... as its records name them.
bool writePictures(const QString &folder, int count, double *averageBytes)
{
    static QList<QByteArray> variants;
    if (variants.isEmpty()) {
        QList<int> numbers(kVariants);
        std::iota(numbers.begin(), numbers.end(), 0);
        variants = QtConcurrent::blockingMapped<QList<QByteArray>>(numbers, photoJpeg);
    }
    QDir().mkpath(folder);
    QList<int> numbers(count);
    std::iota(numbers.begin(), numbers.end(), 1);
    const QList<bool> written = QtConcurrent::blockingMapped<QList<bool>>(numbers, [&folder](int n) {
        QFile f(folder + QStringLiteral("/ZB_%1.jpg").arg(n, 5, 10, QLatin1Char('0')));
        const QByteArray &bytes = variants[n % kVariants];
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    });
    double total = 0;
    for (const QByteArray &v : variants)
        total += double(v.size());
    *averageBytes = total / kVariants;
    return !written.contains(false);
}

// Opens the household's files with its pictures and makes the main window, as
// start-up does.
bool start(benchmark::State &state)
{
    const bool large = state.range(0) != 0;
    bench::useBenchFolder(large);
    qputenv("XDG_CACHE_HOME", QFile::encodeName(bench::benchRoot() + QStringLiteral("/cache")));
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_SystemDB(nullptr, funGetDBNameSystem()) || !funOpen_DataDB(nullptr, funGetDBNameData())) {
        state.SkipWithError("open failed");
        return false;
    }
    gPicturePath = funGetPicturesFolder() + QLatin1Char('/');
    static bool written[2] = {false, false};
    static double averageBytes = 0;
    if (!written[large]) {
        auto rs = gDataDB->openRecordset(QStringLiteral("SELECT COUNT(*) FROM tbl_picture"));
        if (!rs || !writePictures(funGetPicturesFolder(), rs->field(0).toInt(), &averageBytes)) {
            state.SkipWithError("the pictures could not be written");
            return false;
        }
        written[large] = true;
    }
    state.counters["KB a file"] = averageBytes / 1024.0;
    report_handler::funReportInitialize();
    gControls = new frm_controls;
    gMain = new frm_main;
    gMain->resize(1000, 700);
    gMain->show();
    return true;
}

// CPU seconds of the whole process, every thread counted: the time the fill
// would take on one core.
double processCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void clearThumbnailCache() { QDir(thumbnails::cacheRoot()).removeRecursively(); }

// The gallery as the list bar's "Photo Gallery" shows it, drawn.
void showGallery()
{
    funPictureHandler(gMain, ActionShow, 0, QString(), 0);
    QCoreApplication::processEvents();
}

void finish(benchmark::State &state, double cpuSeconds)
{
    state.counters["all threads CPU s"] = cpuSeconds / double(state.iterations());
    state.counters["pictures"] = gMain->ListView_Picture->ItemCount();
    state.counters["thumbnails"] = gMain->ImageListPicture_Large->Count();
    resetGlobals();
}

// No thumbnail in the cache: every file is decoded (and the cache written).
void BM_GalleryFirstFill(benchmark::State &state)
{
    if (!start(state))
        return;
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        clearThumbnailCache();
        const double before = processCpuSeconds();
        state.ResumeTiming();
        showGallery();
        cpu += processCpuSeconds() - before;
    }
    finish(state, cpu);
}

// Every thumbnail in the cache, as on each later showing of the gallery.
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

} // namespace

BENCHMARK(BM_GalleryFirstFill)->ArgNames({"large"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GalleryRefill)->ArgNames({"large"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installProgramRoutines();
    return bench::runBenchmarks(argc, argv);
}
