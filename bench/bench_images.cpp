// Decoding a 4000 x 3000 photo-like image as JPEG, PNG and GIF, and
// resampling the decoded image to 200 x 150 (what the image page does when
// a size is entered), beside Qt's QImageReader on the same files in the
// same run:
//   BM_Decode/<format>        the button wizard's image layer
//   BM_QtDecode/<format>      QImageReader
//   BM_Resample/<format>      decode, then nearest-neighbour to 200 x 150
//   BM_QtResample/<format>    QImageReader, then QImage::scaled (fast mode)
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cmath>
#include <string>

#include "hoverkit/ImageFile.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A smooth gradient with a few hard edges and some noise, so that neither
// compressor has an easy time of it.
QImage MakePicture() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    unsigned seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 16) & 15);
            const int r = (x * 255 / kWidth + noise) & 255;
            const int g = (y * 255 / kHeight + ((x / 500 + y / 400) % 2) * 60) & 255;
            const int b = static_cast<int>(127 + 120 * std::sin((x + y) / 90.0)) & 255;
            row[x] = qRgb(r, g, b);
        }
    }
    return image;
}

// The picture encoded once per format. Qt writes no GIF, so the GIF is the
// picture reduced to 256 colours and written by a small LZW encoder.
std::string Encode(const QImage& picture, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (std::string(format) == "JPEG")
        writer.setQuality(85);
    writer.write(picture);
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

std::string EncodeGif(const QImage& picture) {
    const QImage indexed =
        picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AutoColor);
    std::string out = "GIF89a";
    auto word = [&](int v) {
        out += static_cast<char>(v & 255);
        out += static_cast<char>(v >> 8);
    };
    word(kWidth);
    word(kHeight);
    out += static_cast<char>(0xF7);
    out += '\0';
    out += '\0';
    QVector<QRgb> table = indexed.colorTable();
    table.resize(256);
    for (QRgb c : table) {
        out += static_cast<char>(qRed(c));
        out += static_cast<char>(qGreen(c));
        out += static_cast<char>(qBlue(c));
    }
    out += ',';
    word(0);
    word(0);
    word(kWidth);
    word(kHeight);
    out += '\0';
    out += '\x08';
    // LZW with a dictionary indexed by (prefix, byte).
    std::vector<int> dict(4096 * 256, -1);
    std::string bytes;
    std::uint32_t acc = 0;
    int bits = 0, size = 9, next = 258, prefix = -1;
    auto put = [&](int code) {
        acc |= static_cast<std::uint32_t>(code) << bits;
        bits += size;
        while (bits >= 8) {
            bytes += static_cast<char>(acc & 255);
            acc >>= 8;
            bits -= 8;
        }
    };
    put(256);
    for (int y = 0; y < kHeight; ++y) {
        const uchar* row = indexed.constScanLine(y);
        for (int x = 0; x < kWidth; ++x) {
            const int p = row[x];
            if (prefix < 0) {
                prefix = p;
                continue;
            }
            const int found = dict[static_cast<std::size_t>(prefix) * 256 + static_cast<std::size_t>(p)];
            if (found >= 0) {
                prefix = found;
                continue;
            }
            put(prefix);
            if (next < 4096) {
                dict[static_cast<std::size_t>(prefix) * 256 + static_cast<std::size_t>(p)] = next++;
                if (next - 1 == (1 << size) && size < 12)
                    ++size;
            } else {
                put(256);
                std::fill(dict.begin(), dict.end(), -1);
                next = 258;
                size = 9;
            }
            prefix = p;
        }
    }
    put(prefix);
    put(257);
    if (bits > 0)
        bytes += static_cast<char>(acc & 255);
    for (std::size_t at = 0; at < bytes.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, bytes.size() - at);
        out += static_cast<char>(n);
        out += bytes.substr(at, n);
    }
    out += '\0';
    out += ';';
    return out;
}

struct SFiles {
    std::string jpeg, png, gif;
};

const SFiles& Files() {
    static const SFiles files = [] {
        const QImage picture = MakePicture();
        return SFiles{Encode(picture, "JPEG"), Encode(picture, "PNG"), EncodeGif(picture)};
    }();
    return files;
}

const std::string& FileOf(int format) {
    return format == CImageFile::kFormatJpeg  ? Files().jpeg
           : format == CImageFile::kFormatPng ? Files().png
                                              : Files().gif;
}

const char* QtNameOf(int format) {
    return format == CImageFile::kFormatJpeg ? "JPEG" : format == CImageFile::kFormatPng ? "PNG" : "GIF";
}

void BM_Decode(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    const std::string& file = FileOf(format);
    for (auto _ : state) {
        CImageFile image = CImageFile::FromMemory(file.data(), file.size(), format);
        if (!image.IsValid())
            state.SkipWithError(image.GetErrorText());
        benchmark::DoNotOptimize(image.GetRow(0));
    }
    state.SetLabel(std::string(QtNameOf(format)) + ", " + std::to_string(file.size() / 1024) + " KiB");
}

void BM_QtDecode(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    const std::string& file = FileOf(format);
    const QByteArray data = QByteArray::fromRawData(file.data(), static_cast<qsizetype>(file.size()));
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, QtNameOf(format));
        reader.setAllocationLimit(1024);
        QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError(reader.errorString().toStdString().c_str());
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(QtNameOf(format));
}

void BM_Resample(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    const std::string& file = FileOf(format);
    for (auto _ : state) {
        CImageFile image = CImageFile::FromMemory(file.data(), file.size(), format);
        image.Resample(200, 150);
        benchmark::DoNotOptimize(image.GetRow(0));
    }
    state.SetLabel(QtNameOf(format));
}

void BM_QtResample(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    const std::string& file = FileOf(format);
    const QByteArray data = QByteArray::fromRawData(file.data(), static_cast<qsizetype>(file.size()));
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, QtNameOf(format));
        reader.setAllocationLimit(1024);
        QImage image = reader.read().scaled(200, 150, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(QtNameOf(format));
}

// Resampling an image decoded once (each round copies it first).
void BM_ResampleOnly(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    const std::string& file = FileOf(format);
    const CImageFile decoded = CImageFile::FromMemory(file.data(), file.size(), format);
    for (auto _ : state) {
        CImageFile image = decoded;
        image.Resample(200, 150);
        benchmark::DoNotOptimize(image.GetRow(0));
    }
    state.SetLabel(QtNameOf(format));
}

#define FORMATS Arg(CImageFile::kFormatJpeg)->Arg(CImageFile::kFormatPng)->Arg(CImageFile::kFormatGif)
BENCHMARK(BM_Decode)->FORMATS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtDecode)->FORMATS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resample)->FORMATS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtResample)->FORMATS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleOnly)->FORMATS->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
