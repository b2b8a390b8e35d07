// The label preview: its drawing steps, the pixels they give, and `brimwell-cli preview`,
// which must draw the same picture.
#include "draw/LabelPreviewPainter.h"
#include "logo/LogoTestSupport.h"
#include "platform/fake/FakeServices.h"
#include "support/CliHarness.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

// Loads a picture given as rows of '#' (black) and '.' (white), or any bytes.
struct Holder {
    fake::MemoryFileSource files;
    CLogoFmtHandler logo{files};
    Holder() { logo.LoadFile("/missing.bmp"); }
    explicit Holder(const Bytes& bytes) { logo.LoadBytes(bytes.data(), bytes.size()); }
    explicit Holder(std::initializer_list<std::string> rows)
        : Holder(Loadable(MonoDesc(std::vector<std::string>(rows)))) {}
};

bool Ink(const QImage& picture, int x, int y) {
    return picture.pixel(x, y) != qRgb(255, 255, 255);
}

// The columns [x0, x1) that hold any ink: first and last, -1 when none.
std::pair<int, int> InkColumns(const QImage& picture, int x0, int x1) {
    std::pair<int, int> found{-1, -1};
    for (int x = x0; x < x1; ++x) {
        for (int y = 1; y < picture.height() - 1; ++y) {
            if (Ink(picture, x, y)) {
                found = {found.first < 0 ? x : found.first, x};
                break;
            }
        }
    }
    return found;
}

// "kind x,y wxh text" per step, one line each.
std::string Describe(const std::vector<PreviewStep>& steps) {
    std::string out;
    for (const PreviewStep& s : steps) {
        const char* kinds[] = {"area", "image", "turned", "message"};
        out += std::string(kinds[static_cast<int>(s.kind)]) + " " + std::to_string(s.x) + "," +
               std::to_string(s.y) + " " + std::to_string(s.width) + "x" +
               std::to_string(s.height) + (s.text ? std::string(" ") + s.text : "") + "\n";
    }
    return out;
}

TEST(LabelPreviewSteps, LogoWithTurnedTextsOrTheMessage) {
    // y = (H - extent) / 2 rounded toward zero, also for a text longer than the control.
    const PreviewTextExtents extents{300, 100, 150, 40, 41, 381};
    const std::string texts = "turned 220,40 300x28 --  CENTRE  CABLE  HERE  --\n"
                              "turned 160,140 100x28 Label Title\n"
                              "turned 130,115 150x28 Product Detail\n"
                              "turned 100,170 40x28 etc.\nturned 70,169 41x28 etc.\n"
                              "turned 40,0 381x28 etc.\n";
    const struct {
        LogoStatus status;
        int w, h;
        std::string expected;
    } cases[] = {
        {LOGO_LOADED_OK, 1, 1, "area 0,0 610x380\nimage 240,10 1x1\n" + texts},
        {LOGO_LOADED_OK, 360, 360, "area 0,0 610x380\nimage 240,10 360x360\n" + texts},
        {LOGO_NO_FILE, 0, 0,
         "area 0,0 610x380\nmessage 10,10 590x360 Please select a logo graphics file.\n"},
        {LOGO_TOO_LARGE, 0, 0,
         "area 0,0 610x380\nmessage 10,10 590x360 The specified graphics file exceeds the "
         "maximum logo size of 360 x 360 pixels.\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Describe(LabelPreviewSteps(610, 380, c.status, c.w, c.h, extents)), c.expected);
    }
    EXPECT_EQ(LabelPreviewSteps(610, 100, LOGO_LOADED_OK, 1, 1, extents)[7].y, -140);
}

TEST(LabelPreviewSteps, RotationSwapsTheDrawnSizeAndKeepsTheCorner) {
    Holder h({"###.", "...."});
    ASSERT_TRUE(h.logo.Rotate());
    const auto steps = LabelPreviewSteps(610, 380, h.logo, PreviewFonts::Get().extents);
    EXPECT_EQ(Describe({steps[1]}), "image 240,10 2x4\n");
    // Turned clockwise, the old top row is the right-hand column: black, black, black, white.
    const QImage picture = RenderLabelPreview(h.logo);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(Ink(picture, 241, 10 + y), y < 3) << y;
        EXPECT_FALSE(Ink(picture, 240, 10 + y)) << y;
    }
}

TEST(PreviewDescription, SaysTheSizeTurnsAndInversionOrWhatThePreviewShowsInstead) {
    const struct {
        PreviewView view;
        const char* expected;
    } rows[] = {
        {{}, "Pass label preview: Please select a logo graphics file."},
        {{LOGO_LOADED_OK, 200, 100, 0, false}, "Pass label preview: logo 200 \u00d7 100 dots"},
        {{LOGO_LOADED_OK, 100, 200, 1, true},
         "Pass label preview: logo 100 \u00d7 200 dots, rotated 90 degrees, inverted"},
        {{LOGO_LOADED_OK, 7, 3, 6, false},
         "Pass label preview: logo 7 \u00d7 3 dots, rotated 180 degrees"},
        {{LOGO_LOADED_OK, 7, 3, 4, true}, "Pass label preview: logo 7 \u00d7 3 dots, inverted"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PreviewDescription("Pass label preview", row.view), row.expected);
    }
}

TEST(LabelPreviewPaint, OnePixelLogoTextsLeftOfItAndTheOutline) {
    Holder h({"#"});
    const QImage picture = RenderLabelPreview(h.logo);
    ASSERT_EQ(picture.size(), QSize(610, 380));
    const std::pair<QPoint, bool> pixels[] = {{{240, 10}, true},  {{241, 10}, false},
                                              {{240, 11}, false}, {{0, 0}, true},
                                              {{609, 379}, true}, {{1, 1}, false}};
    for (const auto& [at, ink] : pixels) {
        EXPECT_EQ(Ink(picture, at.x(), at.y()), ink) << at.x() << "," << at.y();
    }
    // The fold-line text lies in its 28-pixel cell left of x = 220: 20 pixels before the logo.
    const auto fold = InkColumns(picture, 165, 240);
    EXPECT_GE(fold.first, 192);
    EXPECT_LE(fold.second, 219);
    for (const int x : {220, 160, 130, 100, 70, 40}) {
        EXPECT_NE(InkColumns(picture, x - 28, x).first, -1) << x;
    }
    EXPECT_GT(PreviewFonts::Get().extents[0], 250); // "Arial" at a 28-pixel cell
    EXPECT_LT(PreviewFonts::Get().extents[0], 380);
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

TEST(PreviewCommand, WritesThePreviewOrTheStatusPictureWithItsStatus) {
    QTemporaryDir dir;
    const std::string logoPath = dir.filePath("logo.bmp").toStdString();
    const Bytes bytes = Loadable(MonoDesc({"##..", "#...", "...."}));
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
        {{"preview", logoPath + ".none", "--png", png},
         3,
         "brimwell-cli: Can't open the specified file: No such file or directory.\n",
         "x"},
        {{"preview", logoPath, "--png", png + ".d/x.png"}, 1, "", nullptr},
    };
    for (const auto& c : cases) {
        QFile::remove(QString::fromStdString(png));
        EXPECT_EQ(cli.Exec(c.args), c.status) << c.args.size();
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
