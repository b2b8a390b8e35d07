// Cross-check of the BMP reader against an independent decoder: QImage decodes the same file,
// and its pixels, thresholded by the mean rule (red + green + blue against the mean of the whole
// picture, rounded down, at least 1), must match the holder's image pixel for pixel.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoTestSupport.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace brimwell::test {
namespace {

std::vector<std::string> ThresholdedByQImage(const Bytes& file) {
    QImage image;
    if (!image.loadFromData(file.data(), static_cast<int>(file.size()), "BMP")) {
        return {};
    }
    std::uint64_t total = 0;
    auto brightness = [&image](int x, int y) {
        const QRgb c = image.pixel(x, y);
        return static_cast<std::uint64_t>(qRed(c) + qGreen(c) + qBlue(c));
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            total += brightness(x, y);
        }
    }
    const std::uint64_t threshold =
        std::max<std::uint64_t>(total / (static_cast<std::uint64_t>(image.width()) *
                                         static_cast<std::uint64_t>(image.height())),
                                1);
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            row += brightness(x, y) >= threshold ? '.' : '#';
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> ThresholdedByHolder(const Bytes& file) {
    fake::MemoryFileSource none;
    CLogoFmtHandler h(none);
    h.LoadAs(LogoFormat::Bmp, file.data(), file.size());
    EXPECT_EQ(h.GetStatus(), LOGO_LOADED_OK);
    return Picture(h);
}

// Files written here, byte by byte: every depth, both row orders, odd widths, a palette and the
// same palette reversed (with the indexes remapped, so the picture is the same).
TEST(LogoQImageCrossCheck, HandMadeBmps) {
    std::mt19937 rng(2024);
    auto byte = [&rng] { return static_cast<std::uint8_t>(rng() % 256); };
    int checked = 0;
    for (std::uint16_t bits : {1, 4, 8, 24}) {
        for (std::int32_t width : {1, 3, 7, 13, 31, 33, 45}) {
            for (std::int32_t height : {1, 6}) {
                BmpDesc s;
                s.bits = bits;
                s.width = width;
                s.height = height;
                const std::uint32_t colours = bits == 8 ? 200 : bits == 24 ? 0 : 1u << bits;
                for (std::uint32_t i = 0; i < colours; ++i) {
                    s.palette.push_back(Rgb{byte(), byte(), byte()});
                }
                for (std::int32_t i = 0; i < width * height; ++i) {
                    s.pixels.push_back(colours ? rng() % colours : rng() % 0x1000000);
                }
                for (bool reversed : {false, true}) {
                    BmpDesc v = s;
                    if (reversed) {
                        if (colours == 0) {
                            continue;
                        }
                        std::reverse(v.palette.begin(), v.palette.end());
                        for (auto& p : v.pixels) {
                            p = colours - 1 - p;
                        }
                    }
                    for (bool topDown : {false, true}) {
                        v.topDown = topDown;
                        const Bytes file = MakeBmp(v);
                        const auto expected = ThresholdedByQImage(file);
                        ASSERT_FALSE(expected.empty()) << "QImage refused the file";
                        EXPECT_EQ(ThresholdedByHolder(file), expected)
                            << bits << " bits, " << width << " x " << height
                            << (topDown ? " top-down" : " bottom-up")
                            << (reversed ? ", palette reversed" : "");
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_EQ(checked, 3 * 7 * 2 * 4 + 7 * 2 * 2);
}

// Files written by QImage itself, in the depths its BMP writer produces.
TEST(LogoQImageCrossCheck, QImageWrittenBmps) {
    std::mt19937 rng(7);
    for (QImage::Format format :
         {QImage::Format_Mono, QImage::Format_Indexed8, QImage::Format_RGB32}) {
        for (int width : {5, 29, 100}) {
            QImage image(width, 9, format);
            if (format == QImage::Format_Mono) {
                image.setColorTable({qRgb(250, 240, 10), qRgb(20, 0, 90)});
            } else if (format == QImage::Format_Indexed8) {
                QVector<QRgb> table;
                for (int i = 0; i < 256; ++i) {
                    table.push_back(qRgb(rng() % 256, rng() % 256, rng() % 256));
                }
                image.setColorTable(table);
            }
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < width; ++x) {
                    if (format == QImage::Format_RGB32) {
                        image.setPixel(x, y, qRgb(rng() % 256, rng() % 256, rng() % 256));
                    } else {
                        image.setPixel(x, y, rng() % image.colorCount());
                    }
                }
            }
            QByteArray data;
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            ASSERT_TRUE(image.save(&buffer, "BMP"));
            const Bytes file(data.begin(), data.end());
            EXPECT_EQ(ThresholdedByHolder(file), ThresholdedByQImage(file))
                << "format " << format << ", width " << width;
        }
    }
}

} // namespace
} // namespace brimwell::test
