#include "hoverkit/ImageFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "hoverkit/HoverkitResources.h"

namespace hoverkit {

bool ImageSizeAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= CImageFile::kMaxSide &&
           height <= CImageFile::kMaxSide && width * height <= CImageFile::kMaxPixels;
}

}  // namespace hoverkit

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, bool& tooLarge) {
    tooLarge = false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
        if (n > 0) {
            if (static_cast<std::int64_t>(bytes.size() + n) > CImageFile::kMaxFileSize) {
                tooLarge = true;
                return false;
            }
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        if (n < sizeof chunk)
            return std::ferror(file.get()) == 0;
    }
}

}  // namespace

CImageFile::CImageFile(const std::string& path, int format) {
    m_nFormat = format;
    std::vector<std::uint8_t> bytes;
    bool tooLarge = false;
    if (!ReadWholeFile(path, bytes, tooLarge)) {
        SetError(tooLarge ? "The image file is too large" : "Cannot read the image file");
        return;
    }
    Decode(bytes.data(), bytes.size(), format);
}

CImageFile CImageFile::FromMemory(const void* data, std::size_t size, int format) {
    CImageFile image;
    image.m_nFormat = format;
    image.Decode(static_cast<const std::uint8_t*>(data), size, format);
    return image;
}

void CImageFile::Decode(const std::uint8_t* data, std::size_t size, int format) {
    switch (format) {
    case kFormatGif: hoverkit::DecodeGif(data, size, *this); break;
    case kFormatJpeg: hoverkit::DecodeJpeg(data, size, *this); break;
    case kFormatPng: hoverkit::DecodePng(data, size, *this); break;
    default: SetError(hoverkit::HoverkitString(hoverkit::IDS_UNSUPPORTED_OPERATION)); return;
    }
    if (!IsValid() && m_szError[0] == '\0')
        SetError("Cannot decode the image file");
    m_nFormat = format;
}

void CImageFile::SetError(const std::string& text) {
    const std::size_t n = std::min(text.size(), sizeof m_szError - 1);
    std::memcpy(m_szError, text.data(), n);
    m_szError[n] = '\0';
}

void CImageFile::Reset() {
    m_nWidth = m_nHeight = m_nBitsPerPixel = 0;
    m_nStride = 0;
    m_nTransparent = -1;
    m_palette.clear();
    m_pixels.clear();
    m_pixels.shrink_to_fit();
}

bool CImageFile::Allocate(int width, int height, int bitsPerPixel) {
    if (!hoverkit::ImageSizeAllowed(width, height)) {
        Reset();
        SetError(width <= 0 || height <= 0 ? "The image has no pixels"
                                           : "The image is too large");
        return false;
    }
    m_nWidth = width;
    m_nHeight = height;
    m_nBitsPerPixel = bitsPerPixel;
    m_nStride = ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
    m_pixels.assign(m_nStride * static_cast<std::size_t>(height), 0);
    return true;
}

void CImageFile::SetIndex(int x, int y, int index) {
    std::uint8_t* row = MutableRow(y);
    switch (m_nBitsPerPixel) {
    case 1: {
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>(index & 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
        break;
    }
    case 4: {
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F))
                    : static_cast<std::uint8_t>((b & 0x0F) | ((index & 0x0F) << 4));
        break;
    }
    default: row[x] = static_cast<std::uint8_t>(index);
    }
}

int CImageFile::GetIndex(int x, int y) const {
    const std::uint8_t* row = GetRow(y);
    switch (m_nBitsPerPixel) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default: return row[x];
    }
}

std::uint32_t CImageFile::GetPixel(int x, int y) const {
    if (m_nBitsPerPixel <= 8) {
        const int index = GetIndex(x, y);
        if (index == m_nTransparent)
            return 0;
        if (index < static_cast<int>(m_palette.size()))
            return m_palette[static_cast<std::size_t>(index)];
        return 0xFF000000u;
    }
    const std::uint8_t* p = GetRow(y) + static_cast<std::size_t>(x) * (m_nBitsPerPixel / 8);
    const std::uint32_t alpha = m_nBitsPerPixel == 32 ? p[3] : 0xFFu;
    return (alpha << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

std::vector<std::uint32_t> CImageFile::ToArgb32() const {
    std::vector<std::uint32_t> out;
    if (!IsValid())
        return out;
    out.reserve(static_cast<std::size_t>(m_nWidth) * m_nHeight);
    for (int y = 0; y < m_nHeight; ++y)
        for (int x = 0; x < m_nWidth; ++x)
            out.push_back(GetPixel(x, y));
    return out;
}

bool CImageFile::Resample(int newWidth, int newHeight) {
    if (!IsValid() || newWidth <= 0 || newHeight <= 0)
        return true;
    if (newWidth == m_nWidth && newHeight == m_nHeight)
        return true;
    if (!hoverkit::ImageSizeAllowed(newWidth, newHeight)) {
        SetError("The image is too large");
        return false;
    }
    CImageFile out;
    out.Allocate(newWidth, newHeight, m_nBitsPerPixel);
    const std::size_t bytes = m_nBitsPerPixel > 8 ? static_cast<std::size_t>(m_nBitsPerPixel / 8) : 0;
    std::vector<int> sourceX(static_cast<std::size_t>(newWidth));
    for (int x = 0; x < newWidth; ++x)
        sourceX[static_cast<std::size_t>(x)] =
            static_cast<int>(static_cast<std::int64_t>(x) * m_nWidth / newWidth);
    for (int y = 0; y < newHeight; ++y) {
        const int sy = static_cast<int>(static_cast<std::int64_t>(y) * m_nHeight / newHeight);
        const std::uint8_t* from = GetRow(sy);
        std::uint8_t* to = out.MutableRow(y);
        if (bytes == 0) {
            for (int x = 0; x < newWidth; ++x)
                out.SetIndex(x, y, GetIndex(sourceX[static_cast<std::size_t>(x)], sy));
        } else {
            for (int x = 0; x < newWidth; ++x)
                std::memcpy(to + bytes * static_cast<std::size_t>(x),
                            from + bytes * static_cast<std::size_t>(sourceX[static_cast<std::size_t>(x)]),
                            bytes);
        }
    }
    m_nWidth = newWidth;
    m_nHeight = newHeight;
    m_nStride = out.m_nStride;
    m_pixels = std::move(out.m_pixels);
    return true;
}

void CImageFile::Crop(int left, int top, int right, int bottom) {
    if (!IsValid())
        return;
    left = std::clamp(left, 0, m_nWidth);
    right = std::clamp(right, 0, m_nWidth);
    top = std::clamp(top, 0, m_nHeight);
    bottom = std::clamp(bottom, 0, m_nHeight);
    if (right <= left || bottom <= top)
        return;  // an empty rectangle would leave nothing to draw later either
    if (left == 0 && top == 0 && right == m_nWidth && bottom == m_nHeight)
        return;
    CImageFile out;
    out.Allocate(right - left, bottom - top, m_nBitsPerPixel);
    const std::size_t bytes = m_nBitsPerPixel > 8 ? static_cast<std::size_t>(m_nBitsPerPixel / 8) : 0;
    for (int y = top; y < bottom; ++y) {
        if (bytes == 0) {
            for (int x = left; x < right; ++x)
                out.SetIndex(x - left, y - top, GetIndex(x, y));
        } else {
            std::memcpy(out.MutableRow(y - top), GetRow(y) + bytes * static_cast<std::size_t>(left),
                        bytes * static_cast<std::size_t>(right - left));
        }
    }
    m_nWidth = out.m_nWidth;
    m_nHeight = out.m_nHeight;
    m_nStride = out.m_nStride;
    m_pixels = std::move(out.m_pixels);
}
