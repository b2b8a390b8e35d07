// The label preview on the largest logo (360 x 360): one repaint of the control, and one
// keystroke in the logo page's file name (a load of the named file and the repaint that
// follows), on Qt's offscreen platform. Run with --benchmark_repetitions=10 for medians.
#include "draw/LabelPreviewPainter.h"
#include "hosts/qt/QtLabelPreview.h"
#include "logo/LogoTestSupport.h"
#include "platform/linux/PosixFileSource.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

using namespace brimwell;
using namespace brimwell::test;

// A 360 x 360 picture with broad areas and fine detail, at 24 bits per pixel.
Bytes Bmp24() {
    BmpDesc s;
    s.width = 360;
    s.height = 360;
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 360; ++x) {
            const bool inside = (x - 180) * (x - 180) + (y - 180) * (y - 180) < 140 * 140;
            const std::uint32_t v = (inside ? 200 : 40) + (x * 7 + y * 13) % 50;
            s.pixels.push_back(v << 16 | v << 8 | v);
        }
    }
    return MakeBmp(s);
}

// The logo file on disk for the length of the run.
struct LogoFile {
    std::string path;
    LogoFile() {
        char name[] = "/tmp/bench-preview-XXXXXX";
        const int fd = ::mkstemp(name);
        const Bytes bytes = Bmp24();
        if (fd >= 0 &&
            ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) {
            path = name;
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ~LogoFile() { ::unlink(path.c_str()); }
};
const LogoFile& File() {
    static const LogoFile file;
    return file;
}

// A preview control of the page's size, holding the loaded logo.
struct Shown {
    PosixFileSource files;
    CLogoFmtHandler logo{files};
    QtLabelPreview control;
    QImage target{PREVIEW_WIDTH, PREVIEW_HEIGHT, QImage::Format_RGB32};
    // A paint event of the control, drawn into `target` as into the window's backing store.
    void Repaint() { control.render(&target); }
    // What the page does after a change of the logo: the steps at the control's size.
    void LogoChanged() {
        control.SetSteps(
            LabelPreviewSteps(PREVIEW_WIDTH, PREVIEW_HEIGHT, logo, control.LabelTextExtents()),
            &logo);
    }
    Shown() {
        logo.LoadFile(File().path);
        control.resize(PREVIEW_WIDTH, PREVIEW_HEIGHT);
        LogoChanged();
        Repaint();
    }
};

// What a paint of the control does, into a picture: the steps and the painting.
void BM_PreviewPaint_360(benchmark::State& state) {
    Shown s;
    const QImage image = LogoPreviewImage(s.logo);
    QImage target(PREVIEW_WIDTH, PREVIEW_HEIGHT, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        PaintLabelPreview(
            painter,
            LabelPreviewSteps(PREVIEW_WIDTH, PREVIEW_HEIGHT, s.logo, PreviewFonts::Get().extents),
            image, Qt::black);
    }
}

// A repaint of the control through its paint event.
void BM_PreviewControlRepaint_360(benchmark::State& state) {
    Shown s;
    for (auto _ : state) {
        s.Repaint();
    }
}

// One keystroke that completes the file name: the page's load, then the repaint with the
// picture made afresh.
void BM_Keystroke_LoadAndRepaint_360(benchmark::State& state) {
    Shown s;
    for (auto _ : state) {
        s.logo.LoadFile(File().path);
        s.LogoChanged();
        s.Repaint();
    }
    if (!s.logo.IsLoaded()) {
        state.SkipWithError("the file did not load");
    }
}

// One keystroke of a name that is not yet a file: a failed open and the message repaint.
void BM_Keystroke_NoFileAndRepaint(benchmark::State& state) {
    Shown s;
    const std::string partial = File().path + "x";
    for (auto _ : state) {
        s.logo.LoadFile(partial);
        s.LogoChanged();
        s.Repaint();
    }
}

BENCHMARK(BM_PreviewPaint_360)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewControlRepaint_360)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Keystroke_LoadAndRepaint_360)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Keystroke_NoFileAndRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
