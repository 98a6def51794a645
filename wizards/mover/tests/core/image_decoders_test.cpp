// The three decoders against Qt's on files made by the tests, and hostile
// files that must be refused with an error text.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <cstdlib>

#include "ImageWriters.h"
#include "hoverkit/ImageFile.h"
#include "ondrelo/testsupport/ScratchDir.h"

namespace {

using imagetest::MakeGif;
using imagetest::SGifLayout;

QImage QtDecode(const std::string& bytes, const char* format) {
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()),
                       format);
    return image.convertToFormat(QImage::Format_ARGB32);
}

std::string QtEncode(const QImage& image, const char* format, int quality = -1,
                     bool progressive = false) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

CImageFile Decode(const std::string& bytes, int format) {
    return CImageFile::FromMemory(bytes.data(), bytes.size(), format);
}

// Largest difference of a colour channel between our pixels and Qt's;
// pixels that both leave fully transparent count as equal.
int MaxDifference(const CImageFile& ours, const QImage& qt) {
    if (!ours.IsValid() || ours.GetWidth() != qt.width() || ours.GetHeight() != qt.height()) {
        return 1000;
    }
    int worst = 0;
    for (int y = 0; y < qt.height(); ++y) {
        for (int x = 0; x < qt.width(); ++x) {
            const std::uint32_t a = ours.GetPixel(x, y);
            const std::uint32_t b = qt.pixel(x, y);
            if ((a >> 24) == 0 && (b >> 24) == 0) {
                continue;
            }
            for (int shift = 0; shift < 32; shift += 8) {
                const int d = std::abs(static_cast<int>((a >> shift) & 255) -
                                       static_cast<int>((b >> shift) & 255));
                worst = std::max(worst, d);
            }
        }
    }
    return worst;
}

QImage TestPicture(QImage::Format format, int width = 37, int height = 23) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgba(x * 7 & 255, y * 11 & 255, (x * y) & 255,
                                 (x + y) % 5 == 0 ? 0 : 128 + (x * 3 & 127)));
        }
    }
    if (format == QImage::Format_Indexed8) {
        image = image.convertToFormat(QImage::Format_RGB32)
                    .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        return image;
    }
    return image.convertToFormat(format);
}

TEST(GifDecoder, MatchesQtPixelForPixel) {
    struct Case {
        const char* name;
        SGifLayout layout;
        int bitsPerPixel;
    };
    auto layout = [](auto change) {
        SGifLayout s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"2 colours, 1 bit", layout([](SGifLayout& s) { s.tableBits = 1; }), 1},
        {"16 colours, 4 bits", layout([](SGifLayout& s) { s.tableBits = 4; }), 4},
        {"4 colours, 4 bits", layout([](SGifLayout& s) { s.tableBits = 2; }), 4},
        {"256 colours, 8 bits", layout([](SGifLayout& s) {
             s.tableBits = 8;
             s.width = 61;
             s.height = 47;
         }),
         8},
        {"local table", layout([](SGifLayout& s) { s.localTable = true; }), 4},
        {"interlaced, odd height", layout([](SGifLayout& s) {
             s.interlaced = true;
             s.width = 13;
             s.height = 19;
         }),
         4},
        {"transparent index", layout([](SGifLayout& s) { s.transparent = 2; }), 4},
        {"later frames ignored", layout([](SGifLayout& s) { s.secondFrame = true; }), 4},
        {"table fills up and is cleared", layout([](SGifLayout& s) {
             s.tableBits = 8;
             s.width = 300;
             s.height = 200;
             for (int i = 0; i < 300 * 200; ++i) {
                 s.pixels.push_back(static_cast<std::uint8_t>((i * 7919) % 251));
             }
         }),
         8},
        {"one row of one colour", layout([](SGifLayout& s) {
             s.width = 1000;
             s.height = 1;
             s.pixels.assign(1000, 1);
         }),
         4},
    };
    for (const Case& c : cases) {
        const std::string bytes = MakeGif(c.layout);
        const CImageFile image = Decode(bytes, CImageFile::kFormatGif);
        ASSERT_TRUE(image.IsValid()) << c.name << ": " << image.GetErrorText();
        EXPECT_EQ(image.GetBitsPerPixel(), c.bitsPerPixel) << c.name;
        EXPECT_EQ(image.GetStride() % 4, 0u) << c.name;
        EXPECT_EQ(MaxDifference(image, QtDecode(bytes, "GIF")), 0) << c.name;
    }
}

TEST(GifDecoder, TransparentIndexAndFrameClippedToTheScreen) {
    SGifLayout s;
    s.width = 10;
    s.height = 10;
    s.screenWidth = 8;
    s.screenHeight = 6;
    s.left = 4;
    s.top = 3;
    s.transparent = 0;
    const CImageFile image = Decode(MakeGif(s), CImageFile::kFormatGif);
    ASSERT_TRUE(image.IsValid()) << image.GetErrorText();
    EXPECT_EQ(image.GetWidth(), 8);
    EXPECT_EQ(image.GetHeight(), 6);
    EXPECT_EQ(image.GetTransparentIndex(), 0);
    EXPECT_EQ(image.GetPixel(0, 0), 0u);  // outside the frame: transparent
    const auto pattern = imagetest::GifPattern(s);
    const int index = pattern[1 * 10 + 2];  // frame pixel (2, 1) at screen (6, 4)
    EXPECT_EQ(image.GetPixel(6, 4), index == 0 ? 0u : imagetest::GifColour(index));
}

TEST(PngDecoder, MatchesQt) {
    struct Case {
        const char* name;
        QImage image;
        int bitsPerPixel;
        int tolerance;
    };
    const Case cases[] = {
        {"palette", TestPicture(QImage::Format_Indexed8), 24, 0},
        {"grey", TestPicture(QImage::Format_Grayscale8), 24, 0},
        {"grey 16 bit", TestPicture(QImage::Format_Grayscale16), 24, 1},
        {"colour", TestPicture(QImage::Format_RGB32), 24, 0},
        {"alpha", TestPicture(QImage::Format_ARGB32), 32, 0},
        {"16 bit with alpha", TestPicture(QImage::Format_RGBA64), 32, 1},
    };
    for (const Case& c : cases) {
        const std::string bytes = QtEncode(c.image, "PNG");
        const CImageFile image = Decode(bytes, CImageFile::kFormatPng);
        ASSERT_TRUE(image.IsValid()) << c.name << ": " << image.GetErrorText();
        EXPECT_EQ(image.GetBitsPerPixel(), c.bitsPerPixel) << c.name;
        EXPECT_LE(MaxDifference(image, QtDecode(bytes, "PNG")), c.tolerance) << c.name;
    }
}

TEST(JpegDecoder, MatchesQt) {
    struct Case {
        const char* name;
        QImage image;
        bool progressive;
        int bitsPerPixel;
    };
    const Case cases[] = {
        {"colour", TestPicture(QImage::Format_RGB32, 64, 48), false, 24},
        {"grey", TestPicture(QImage::Format_Grayscale8, 64, 48), false, 8},
        {"progressive", TestPicture(QImage::Format_RGB32, 65, 33), true, 24},
    };
    for (const Case& c : cases) {
        const std::string bytes = QtEncode(c.image, "JPEG", 90, c.progressive);
        const CImageFile image = Decode(bytes, CImageFile::kFormatJpeg);
        ASSERT_TRUE(image.IsValid()) << c.name << ": " << image.GetErrorText();
        EXPECT_EQ(image.GetBitsPerPixel(), c.bitsPerPixel) << c.name;
        // Both use the same library, but may choose other colour conversions.
        EXPECT_LE(MaxDifference(image, QtDecode(bytes, "JPEG")), 2) << c.name;
    }
}

// Every prefix of a valid file is refused with a text, never a crash.
TEST(HostileImages, TruncatedFilesAreRefused) {
    const std::string files[] = {
        MakeGif(SGifLayout{}),
        QtEncode(TestPicture(QImage::Format_ARGB32), "PNG"),
        QtEncode(TestPicture(QImage::Format_RGB32, 64, 48), "JPEG", 90, false),
        QtEncode(TestPicture(QImage::Format_RGB32, 64, 48), "JPEG", 90, true),
    };
    const int formats[] = {CImageFile::kFormatGif, CImageFile::kFormatPng, CImageFile::kFormatJpeg,
                           CImageFile::kFormatJpeg};
    for (int f = 0; f < 4; ++f) {
        const std::string& whole = files[f];
        ASSERT_TRUE(Decode(whole, formats[f]).IsValid());
        // The GIF's trailer and a JPEG's end marker are not needed for the pixels.
        const std::size_t needed = whole.size() - (formats[f] == CImageFile::kFormatPng ? 12 : 2);
        for (std::size_t n = 0; n < needed; ++n) {
            const CImageFile image = Decode(whole.substr(0, n), formats[f]);
            EXPECT_FALSE(image.IsValid()) << "format " << formats[f] << " cut at " << n;
            EXPECT_STRNE(image.GetErrorText(), "") << "format " << formats[f] << " cut at " << n;
        }
    }
}

TEST(HostileImages, GifHeadersAndCodes) {
    auto withByte = [](std::string bytes, std::size_t at, char value) {
        bytes[at] = value;
        return bytes;
    };
    const std::string good = MakeGif(SGifLayout{});  // 8 colours, global table
    const std::size_t descriptor = good.find(',', 13 + 24);
    const std::size_t codeSize = descriptor + 10;
    SGifLayout huge;
    huge.screenWidth = 16385;
    SGifLayout tooMany;
    tooMany.screenWidth = 16384;
    tooMany.screenHeight = 16384;
    SGifLayout wideCodes;
    wideCodes.minCodeSize = 9;
    struct Case {
        const char* name;
        std::string bytes;
        const char* error;
    };
    const Case cases[] = {
        {"not a GIF", "PNG89a" + good.substr(6), "Not a GIF file"},
        {"short header", good.substr(0, 12), "Not a GIF file"},
        {"code size 1", withByte(good, codeSize, 1), "The GIF file has an invalid LZW code size"},
        {"code size 9", MakeGif(wideCodes), "The GIF file has an invalid LZW code size"},
        {"code size 12", withByte(good, codeSize, 12), "The GIF file has an invalid LZW code size"},
        {"side over 16384", MakeGif(huge), "The GIF image is too large"},
        {"over 64 megapixels", MakeGif(tooMany), "The GIF image is too large"},
        {"zero screen width", withByte(withByte(good, 6, 0), 7, 0), "The GIF image has no pixels"},
        {"zero frame height", withByte(withByte(good, descriptor + 7, 0), descriptor + 8, 0),
         "The GIF image has no pixels"},
        {"code beyond the table", withByte(good, codeSize + 2, '\xFF'),
         "The GIF file has an invalid LZW code"},
        {"no image", good.substr(0, 13 + 24) + ";", "The GIF file holds no image"},
        {"unknown block", good.substr(0, 13 + 24) + "\x99", "The GIF file is damaged"},
    };
    for (const Case& c : cases) {
        const CImageFile image = Decode(c.bytes, CImageFile::kFormatGif);
        EXPECT_FALSE(image.IsValid()) << c.name;
        EXPECT_STREQ(image.GetErrorText(), c.error) << c.name;
    }
}

TEST(HostileImages, PngAndJpegOfImpossibleSizes) {
    // Headers claiming sizes the limits refuse, with no pixel data behind them.
    auto pngHeader = [](std::uint32_t w, std::uint32_t h) {
        std::string ihdr = std::string("IHDR", 4);
        for (std::uint32_t v : {w, h}) {
            for (int s = 24; s >= 0; s -= 8) {
                ihdr += static_cast<char>((v >> s) & 255);
            }
        }
        ihdr += std::string("\x08\x02\x00\x00\x00", 5);
        std::uint32_t crc = 0xFFFFFFFFu;  // CRC-32 of type and data
        for (unsigned char ch : ihdr) {
            crc ^= ch;
            for (int k = 0; k < 8; ++k) {
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
            }
        }
        crc ^= 0xFFFFFFFFu;
        std::string out("\x89PNG\r\n\x1a\n\x00\x00\x00\x0d", 12);
        out += ihdr;
        for (int s = 24; s >= 0; s -= 8) {
            out += static_cast<char>((crc >> s) & 255);
        }
        return out;
    };
    for (auto [w, h] : {std::pair<std::uint32_t, std::uint32_t>{20000, 10},
                        {16384, 16384},
                        {0, 10},
                        {0x7FFFFFFF, 0x7FFFFFFF}}) {
        const CImageFile image = Decode(pngHeader(w, h), CImageFile::kFormatPng);
        EXPECT_FALSE(image.IsValid()) << w << "x" << h;
        EXPECT_STRNE(image.GetErrorText(), "") << w << "x" << h;
    }
    // A JPEG whose frame header claims 60000 by 60000 pixels.
    std::string jpeg = QtEncode(TestPicture(QImage::Format_RGB32, 64, 48), "JPEG", 90, false);
    const std::size_t sof = jpeg.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    jpeg.replace(sof + 5, 4, std::string("\xEA\x60\xEA\x60", 4));
    const CImageFile image = Decode(jpeg, CImageFile::kFormatJpeg);
    EXPECT_FALSE(image.IsValid());
    EXPECT_STREQ(image.GetErrorText(), "The image is too large");
}

TEST(ImageFile, ErrorsOfFilesAndFormats) {
    const CImageFile missing("/nonexistent/dir/x.png", CImageFile::kFormatPng);
    EXPECT_FALSE(missing.IsValid());
    const CImageFile bmp = CImageFile::FromMemory("BM", 2, 4);
    EXPECT_STREQ(bmp.GetErrorText(), "Unsupported operation for this format");
    const CImageFile notPng = CImageFile::FromMemory("GIF89a", 6, CImageFile::kFormatPng);
    EXPECT_STREQ(notPng.GetErrorText(), "Error reading PNG file");
    const CImageFile notJpeg = CImageFile::FromMemory("GIF89a", 6, CImageFile::kFormatJpeg);
    EXPECT_FALSE(notJpeg.IsValid());
    EXPECT_STRNE(notJpeg.GetErrorText(), "");
}

TEST(ImageFile, ResampleAndCropKeepThePixelsTheyShould) {
    for (int tableBits : {1, 4, 8}) {
        SGifLayout s;
        s.tableBits = tableBits;
        s.width = 10;
        s.height = 4;
        CImageFile image = Decode(MakeGif(s), CImageFile::kFormatGif);
        const CImageFile original = image;
        ASSERT_TRUE(image.Resample(20, 2));
        EXPECT_EQ(image.GetWidth(), 20);
        EXPECT_EQ(image.GetHeight(), 2);
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(image.GetPixel(x, 0), original.GetPixel(x / 2, 0)) << tableBits;
            EXPECT_EQ(image.GetPixel(x, 1), original.GetPixel(x / 2, 2)) << tableBits;
        }
        image.Crop(3, 1, 7, 2);
        EXPECT_EQ(image.GetWidth(), 4);
        EXPECT_EQ(image.GetHeight(), 1);
        EXPECT_EQ(image.GetPixel(0, 0), original.GetPixel(1, 2)) << tableBits;
    }
    CImageFile colour =
        Decode(QtEncode(TestPicture(QImage::Format_RGB32), "PNG"), CImageFile::kFormatPng);
    const CImageFile before = colour;
    EXPECT_TRUE(colour.Resample(0, 10));  // zero size: nothing happens
    EXPECT_EQ(colour.GetWidth(), before.GetWidth());
    EXPECT_FALSE(colour.Resample(100000, 100000));  // refused, image kept
    EXPECT_EQ(colour.GetWidth(), before.GetWidth());
    ASSERT_TRUE(colour.Resample(5, 5));
    EXPECT_EQ(colour.GetPixel(4, 4), before.GetPixel(4 * 37 / 5, 4 * 23 / 5));
}

}  // namespace

namespace {

// Writes the fuzzing seed corpora (one small file per kind of image the
// tests make) when ONDRELO_FUZZ_CORPUS_DIR names the corpus folder.
TEST(FuzzCorpus, WriteSeeds) {
    if (ondrelo::test::FuzzSeedDir("gif").empty()) {
        GTEST_SKIP() << "ONDRELO_FUZZ_CORPUS_DIR is not set";
    }
    auto write = [&](const std::string& name, const std::string& bytes) {
        const std::string target = name.substr(0, name.find('/'));
        ondrelo::test::WriteFile(ondrelo::test::FuzzSeedDir(target) + name.substr(target.size()),
                                 bytes);
    };
    SGifLayout s;
    write("gif/plain.gif", MakeGif(s));
    s.tableBits = 1;
    write("gif/two-colours.gif", MakeGif(s));
    s = SGifLayout{};
    s.interlaced = true;
    s.height = 11;
    s.transparent = 1;
    write("gif/interlaced-transparent.gif", MakeGif(s));
    s = SGifLayout{};
    s.localTable = true;
    s.tableBits = 8;
    s.secondFrame = true;
    s.left = 2;
    s.screenWidth = 9;
    write("gif/local-table-offset.gif", MakeGif(s));
    write("png/palette.png", QtEncode(TestPicture(QImage::Format_Indexed8, 9, 7), "PNG"));
    write("png/grey16.png", QtEncode(TestPicture(QImage::Format_Grayscale16, 9, 7), "PNG"));
    write("png/alpha.png", QtEncode(TestPicture(QImage::Format_ARGB32, 9, 7), "PNG"));
    write("png/rgba64.png", QtEncode(TestPicture(QImage::Format_RGBA64, 5, 4), "PNG"));
    write("jpeg/colour.jpg", QtEncode(TestPicture(QImage::Format_RGB32, 16, 9), "JPEG", 75, false));
    write("jpeg/grey.jpg",
          QtEncode(TestPicture(QImage::Format_Grayscale8, 16, 9), "JPEG", 75, false));
    write("jpeg/progressive.jpg",
          QtEncode(TestPicture(QImage::Format_RGB32, 17, 9), "JPEG", 75, true));
}

}  // namespace
