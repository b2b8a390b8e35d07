// The label preview: its drawing steps, the pixels they give, the control and
// `brimwell-cli preview`, which must draw the same picture.
#include "logo/CLogoPreviewCtrl.h"
#include "logo/LabelPreviewPainter.h"
#include "logo/LogoTestSupport.h"
#include "platform/fake/Fakes.h"
#include "support/CliHarness.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

using namespace logotest;

// Loads a picture given as rows of '#' (black) and '.' (white), or any bytes.
struct Holder {
    fake::MemoryFileSource files;
    CLogoFmtHandler logo{files};
    Holder() { logo.LoadFile("/missing.bmp"); }
    explicit Holder(const Bytes& bytes) { logo.LoadBytes(bytes.data(), bytes.size()); }
    explicit Holder(std::initializer_list<std::string> rows)
        : Holder(Loadable(MonoSpec(std::vector<std::string>(rows)))) {}
};

bool Ink(const QImage& picture, int x, int y) {
    return picture.pixel(x, y) != qRgb(255, 255, 255);
}

// The columns [x0, x1) that hold any ink between rows y0 and y1.
std::pair<int, int> InkColumns(const QImage& picture, int x0, int x1, int y0, int y1) {
    int first = -1;
    int last = -1;
    for (int x = x0; x < x1; ++x) {
        for (int y = y0; y < y1; ++y) {
            if (Ink(picture, x, y)) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

TEST(LabelPreviewSteps, LogoAndTurnedTextsOrMessage) {
    const PreviewTextExtents extents{300, 100, 150, 40, 41, 381};
    const struct {
        LogoStatus status;
        int w, h;
    } cases[] = {
        {LOGO_LOADED_OK, 1, 1},
        {LOGO_LOADED_OK, 360, 360},
        {LOGO_NO_FILE, 0, 0},
        {LOGO_TOO_LARGE, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status * 1000 + c.w);
        const auto steps = LabelPreviewSteps(610, 380, c.status, c.w, c.h, extents);
        ASSERT_GE(steps.size(), 2u);
        EXPECT_EQ(steps[0].kind, PreviewStepKind::LabelArea);
        EXPECT_EQ(std::tie(steps[0].x, steps[0].y, steps[0].width, steps[0].height),
                  std::make_tuple(0, 0, 610, 380));
        if (c.status != LOGO_LOADED_OK) {
            ASSERT_EQ(steps.size(), 2u);
            EXPECT_EQ(steps[1].kind, PreviewStepKind::Message);
            EXPECT_EQ(std::tie(steps[1].x, steps[1].y, steps[1].width, steps[1].height),
                      std::make_tuple(10, 10, 590, 360));
            EXPECT_STREQ(steps[1].text, LogoStatusMessage(c.status));
            continue;
        }
        // No message at all once loaded; the logo 1:1 at (240, 10), 10 pixels to spare at
        // the largest size.
        ASSERT_EQ(steps.size(), 8u);
        EXPECT_EQ(std::tie(steps[1].kind, steps[1].x, steps[1].y, steps[1].width, steps[1].height),
                  std::make_tuple(PreviewStepKind::Image, 240, 10, c.w, c.h));
        const int xs[] = {220, 160, 130, 100, 70, 40};
        const char* texts[] = {
            "--  CENTRE  CABLE  HERE  --", "Label Title", "Product Detail", "etc.", "etc.", "etc."};
        const int ys[] = {40, 140, 115, 170, 169, 0}; // (380 - extent) / 2, toward zero
        for (int i = 0; i < 6; ++i) {
            const PreviewStep& s = steps[2 + i];
            EXPECT_EQ(std::tie(s.kind, s.x, s.y, s.width),
                      std::make_tuple(PreviewStepKind::TurnedText, xs[i], ys[i], extents[i]));
            EXPECT_STREQ(s.text, texts[i]);
        }
    }
    // A text longer than the control is high still gets (H - cx) / 2, rounded toward zero.
    EXPECT_EQ(LabelPreviewSteps(610, 100, LOGO_LOADED_OK, 1, 1, extents)[7].y, -140);
}

TEST(LabelPreviewSteps, RotationSwapsTheDrawnSizeAndKeepsTheCorner) {
    Holder h({"###.", "...."});
    ASSERT_TRUE(h.logo.Rotate());
    const auto steps = LabelPreviewSteps(610, 380, h.logo, PreviewFonts::Get().extents);
    EXPECT_EQ(std::tie(steps[1].x, steps[1].y, steps[1].width, steps[1].height),
              std::make_tuple(240, 10, 2, 4));
    // Turned clockwise, the old top row is the right-hand column: black, black, black, white.
    const QImage picture = RenderLabelPreview(h.logo);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(Ink(picture, 241, 10 + y), y < 3) << y;
        EXPECT_FALSE(Ink(picture, 240, 10 + y)) << y;
    }
}

TEST(LabelPreviewPaint, OnePixelLogoTextsLeftOfItAndTheOutline) {
    Holder h({"#"});
    const QImage picture = RenderLabelPreview(h.logo);
    ASSERT_EQ(picture.size(), QSize(610, 380));
    EXPECT_TRUE(Ink(picture, 240, 10));
    EXPECT_FALSE(Ink(picture, 241, 10));
    EXPECT_FALSE(Ink(picture, 240, 11));
    EXPECT_TRUE(Ink(picture, 0, 0));
    EXPECT_TRUE(Ink(picture, 609, 379));
    EXPECT_FALSE(Ink(picture, 1, 1));
    // The fold-line text fills its cell left of x = 220, leaving 20 pixels before the logo.
    const auto fold = InkColumns(picture, 165, 240, 1, 379);
    EXPECT_GE(fold.first, 192);
    EXPECT_LE(fold.second, 219);
    EXPECT_GT(fold.second - fold.first, 12);
    // Each of the six texts has ink in its own cell, centred on the height.
    for (const int x : {220, 160, 130, 100, 70, 40}) {
        EXPECT_NE(InkColumns(picture, x - 28, x, 1, 379).first, -1) << x;
    }
    const auto& extents = PreviewFonts::Get().extents;
    EXPECT_GT(extents[0], 250); // the fold line, "Arial" at a 28-pixel cell
    EXPECT_LT(extents[0], 380);
}

TEST(LabelPreviewPaint, MessageWrapsInsideTheInsetRectangle) {
    Holder tooLarge(SolidBmp(361, 1));
    ASSERT_EQ(tooLarge.logo.GetStatus(), LOGO_TOO_LARGE);
    const QImage wide = RenderLabelPreview(tooLarge.logo);
    const QImage narrow = RenderLabelPreview(tooLarge.logo, 200, 200);
    auto inkRows = [](const QImage& p) {
        int last = -1;
        for (int y = 1; y < p.height() - 1; ++y) {
            for (int x = 1; x < p.width() - 1; ++x) {
                if (Ink(p, x, y)) {
                    EXPECT_GE(x, 10);
                    EXPECT_LT(x, p.width() - 10);
                    EXPECT_GE(y, 10);
                    last = y;
                }
            }
        }
        return last;
    };
    EXPECT_LT(inkRows(wide), 10 + 18);       // one line
    EXPECT_GT(inkRows(narrow), 10 + 3 * 18); // at least four lines at word boundaries
}

TEST(LabelPreviewPaint, ControlDrawsWhatThePictureShows) {
    Holder h({"#..#", ".##."});
    CLogoPreviewCtrl control(&h.logo);
    control.resize(610, 380);
    control.LogoChanged();
    EXPECT_EQ(control.grab().toImage().convertToFormat(QImage::Format_RGB32),
              RenderLabelPreview(h.logo));
    h.logo.Invert();
    control.LogoChanged();
    EXPECT_EQ(control.grab().toImage().convertToFormat(QImage::Format_RGB32),
              RenderLabelPreview(h.logo));
}

TEST(PreviewCommand, WritesThePreviewOrTheStatusPictureWithItsStatus) {
    QTemporaryDir dir;
    const std::string logoPath = dir.filePath("logo.bmp").toStdString();
    const Bytes bytes = Loadable(MonoSpec({"##..", "#...", "...."}));
    std::ofstream(logoPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    const std::string png = dir.filePath("out.png").toStdString();

    CliHarness cli;
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
        const char* steps; // 'r' rotate, 'i' invert; "x" for a file that does not load
    } cases[] = {
        {{"preview", logoPath, "--png", png}, 0, "", ""},
        {{"preview", logoPath, "--rotate", "--invert", "--png", png}, 0, "", "ri"},
        {{"preview", logoPath + ".none", "--png", png}, 3, "Can't open the specified file.\n", "x"},
        {{"preview", logoPath}, 2, "", nullptr},
        {{"preview", logoPath, "--png", dir.filePath("no/such/dir.png").toStdString()},
         1,
         "",
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.size());
        QFile::remove(QString::fromStdString(png));
        EXPECT_EQ(cli.Exec(c.args), c.status);
        EXPECT_EQ(cli.out.str(), "");
        if (!c.err.empty()) {
            EXPECT_EQ(cli.err.str(), c.err);
        }
        if (!c.steps) {
            EXPECT_FALSE(QFile::exists(QString::fromStdString(png)));
            continue;
        }
        Holder expected = *c.steps == 'x' ? Holder() : Holder(bytes);
        for (const char* s = c.steps; *s; ++s) {
            *s == 'r' ? static_cast<void>(expected.logo.Rotate()) : expected.logo.Invert();
        }
        EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32),
                  RenderLabelPreview(expected.logo));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.png.*", ".*.png*"}, QDir::Files).isEmpty());
}

} // namespace
} // namespace brimwell::test
