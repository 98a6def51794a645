// One decoded image file (GIF, JPEG or PNG) as a device-independent bitmap:
// 1, 4 or 8 bits per pixel with a palette, or 24 bits (32 with an alpha
// channel) of true colour; rows top-down, each padded to a multiple of four
// bytes. Decoding refuses hostile files with an error text and never
// allocates for an image larger than the limits below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CImageFile {
public:
    enum EFormat : int { kFormatNone = 0, kFormatGif = 1, kFormatJpeg = 2, kFormatPng = 3 };

    // Largest image accepted: each side, and all pixels together.
    static constexpr int kMaxSide = 16384;
    static constexpr std::int64_t kMaxPixels = std::int64_t{64} * 1024 * 1024;
    // Largest file read into memory for decoding.
    static constexpr std::int64_t kMaxFileSize = std::int64_t{1} << 30;

    CImageFile() = default;
    // Opens the file and decodes it with the decoder of the format. A file
    // that cannot be opened gives an invalid image with an empty error text.
    CImageFile(const std::string& path, int format);
    // Decodes an image held in memory.
    static CImageFile FromMemory(const void* data, std::size_t size, int format);

    bool IsValid() const { return !m_pixels.empty(); }
    int GetFormat() const { return m_nFormat; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetBitsPerPixel() const { return m_nBitsPerPixel; }
    // Bytes per row, a multiple of four.
    std::size_t GetStride() const { return m_nStride; }
    // Palette entries as 0xAARRGGBB (for 1, 4 and 8 bits per pixel).
    const std::vector<std::uint32_t>& GetPalette() const { return m_palette; }
    // Palette index drawn as transparent, or -1.
    int GetTransparentIndex() const { return m_nTransparent; }
    const std::uint8_t* GetRow(int y) const { return m_pixels.data() + m_nStride * y; }
    const char* GetErrorText() const { return m_szError; }

    // The colour of one pixel as 0xAARRGGBB (a transparent index gives alpha 0).
    std::uint32_t GetPixel(int x, int y) const;
    // All pixels as 0xAARRGGBB, row after row without padding.
    std::vector<std::uint32_t> ToArgb32() const;

    // Nearest-neighbour resampling to the new size; a zero or negative size
    // does nothing (true). A size beyond the limits is refused (false, with
    // an error text) and leaves the image as it was.
    bool Resample(int newWidth, int newHeight);
    // Keeps the rectangle (left, top) to (right, bottom), clipped to the image.
    void Crop(int left, int top, int right, int bottom);

    // Used by the decoders: sets the size and depth and allocates the rows
    // (cleared to zero). False, with an error text, for a size outside the limits.
    bool Allocate(int width, int height, int bitsPerPixel);
    std::uint8_t* MutableRow(int y) { return m_pixels.data() + m_nStride * y; }
    void SetPalette(std::vector<std::uint32_t> palette) { m_palette = std::move(palette); }
    void SetTransparentIndex(int index) { m_nTransparent = index; }
    void SetIndex(int x, int y, int index);
    int GetIndex(int x, int y) const;
    void SetError(const std::string& text);
    void Reset();

private:
    void Decode(const std::uint8_t* data, std::size_t size, int format);

    int m_nFormat = kFormatNone;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitsPerPixel = 0;
    std::size_t m_nStride = 0;
    int m_nTransparent = -1;
    std::vector<std::uint32_t> m_palette;
    std::vector<std::uint8_t> m_pixels;
    char m_szError[256] = {};
};

namespace hoverkit {

// The decoders, each filling `image` or leaving it invalid with its error text.
void DecodeGif(const std::uint8_t* data, std::size_t size, CImageFile& image);
void DecodePng(const std::uint8_t* data, std::size_t size, CImageFile& image);
void DecodeJpeg(const std::uint8_t* data, std::size_t size, CImageFile& image);

// Whether a size is within the limits of CImageFile.
bool ImageSizeAllowed(std::int64_t width, std::int64_t height);

}  // namespace hoverkit
