// GIF decoding of the first image of a file (GIF87a and GIF89a): colour
// tables, graphic control extension (transparent index), interlaced rows and
// the LZW image data. The decoder checks every length against the bytes that
// are there, so a damaged or hostile file gives an error text, never a read
// past the end or an endless loop.
#include <array>
#include <cstring>

#include "hoverkit/ImageFile.h"

namespace {

class CReader {
public:
    CReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Has(std::size_t n) const { return m_size - m_pos >= n; }
    std::uint8_t Byte() { return m_data[m_pos++]; }
    int Word() {
        const int value = m_data[m_pos] | (m_data[m_pos + 1] << 8);
        m_pos += 2;
        return value;
    }
    const std::uint8_t* Here() const { return m_data + m_pos; }
    void Skip(std::size_t n) { m_pos += n; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

const char* const kTruncated = "The GIF file is truncated";

bool ReadColourTable(CReader& in, int entries, std::vector<std::uint32_t>& table) {
    if (!in.Has(static_cast<std::size_t>(entries) * 3))
        return false;
    table.resize(static_cast<std::size_t>(entries));
    for (auto& colour : table) {
        const std::uint32_t r = in.Byte(), g = in.Byte(), b = in.Byte();
        colour = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    return true;
}

// Skips a chain of data sub-blocks up to and including its terminator.
bool SkipSubBlocks(CReader& in) {
    for (;;) {
        if (!in.Has(1))
            return false;
        const std::size_t length = in.Byte();
        if (length == 0)
            return true;
        if (!in.Has(length))
            return false;
        in.Skip(length);
    }
}

// Where decoded pixels go: the frame's rectangle on the logical screen, in
// interlaced or sequential row order, clipped to the screen.
class CPixelSink {
public:
    CPixelSink(CImageFile& image, int left, int top, int width, int height, bool interlaced,
               int colours)
        : m_image(image), m_left(left), m_top(top), m_width(width), m_height(height),
          m_interlaced(interlaced), m_colours(colours) {}

    bool Full() const { return m_row >= m_height; }

    void Put(int index) {
        if (Full())
            return;
        const int x = m_left + m_x;
        const int y = m_top + m_row;
        if (x < m_image.GetWidth() && y < m_image.GetHeight())
            m_image.SetIndex(x, y, index < m_colours ? index : 0);
        if (++m_x == m_width) {
            m_x = 0;
            NextRow();
        }
    }

private:
    void NextRow() {
        if (!m_interlaced) {
            ++m_row;
            return;
        }
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        m_row += kStep[m_pass];
        while (m_row >= m_height && m_pass < 3) {
            ++m_pass;
            m_row = kStart[m_pass];
        }
    }

    CImageFile& m_image;
    int m_left, m_top, m_width, m_height;
    bool m_interlaced;
    int m_colours;
    int m_x = 0;
    int m_row = 0;
    int m_pass = 0;
};

// Decodes the LZW data sub-blocks into the sink. Returns an error text or null.
const char* DecodeLzw(CReader& in, int minimumCodeSize, CPixelSink& sink) {
    if (minimumCodeSize < 2 || minimumCodeSize > 8)
        return "The GIF file has an invalid LZW code size";
    constexpr int kMaxCodes = 4096;
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    std::array<std::uint16_t, kMaxCodes> prefix{};
    std::array<std::uint8_t, kMaxCodes> suffix{};
    std::array<std::uint8_t, kMaxCodes> first{};
    std::array<std::uint8_t, kMaxCodes + 1> stack{};
    for (int i = 0; i < clearCode; ++i) {
        suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    int codeSize = minimumCodeSize + 1;
    int nextCode = endCode + 1;
    int previous = -1;
    std::uint32_t bits = 0;
    int bitCount = 0;
    bool ended = false;

    for (;;) {
        if (!in.Has(1))
            return kTruncated;
        const std::size_t length = in.Byte();
        if (length == 0)
            break;
        if (!in.Has(length))
            return kTruncated;
        const std::uint8_t* block = in.Here();
        in.Skip(length);
        for (std::size_t i = 0; i < length && !ended; ++i) {
            bits |= static_cast<std::uint32_t>(block[i]) << bitCount;
            bitCount += 8;
            while (bitCount >= codeSize && !ended) {
                const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
                bits >>= codeSize;
                bitCount -= codeSize;
                if (code == clearCode) {
                    codeSize = minimumCodeSize + 1;
                    nextCode = endCode + 1;
                    previous = -1;
                    continue;
                }
                if (code == endCode) {
                    ended = true;
                    break;
                }
                if (code > nextCode || (code == nextCode && previous < 0) ||
                    (previous < 0 && code > endCode))
                    return "The GIF file has an invalid LZW code";
                // Unwind the string of the code (or of previous + its first
                // character for the code about to be defined) onto the stack.
                int top = 0;
                int walk = code;
                if (code == nextCode) {
                    stack[static_cast<std::size_t>(top++)] = first[static_cast<std::size_t>(previous)];
                    walk = previous;
                }
                while (walk >= clearCode) {
                    stack[static_cast<std::size_t>(top++)] = suffix[static_cast<std::size_t>(walk)];
                    walk = prefix[static_cast<std::size_t>(walk)];
                }
                stack[static_cast<std::size_t>(top++)] = static_cast<std::uint8_t>(walk);
                const std::uint8_t head = static_cast<std::uint8_t>(walk);
                while (top > 0)
                    sink.Put(stack[static_cast<std::size_t>(--top)]);
                if (previous >= 0 && nextCode < kMaxCodes) {
                    prefix[static_cast<std::size_t>(nextCode)] = static_cast<std::uint16_t>(previous);
                    suffix[static_cast<std::size_t>(nextCode)] = head;
                    first[static_cast<std::size_t>(nextCode)] = first[static_cast<std::size_t>(previous)];
                    ++nextCode;
                    // Codes never grow past 12 bits; a full table waits for a clear code.
                    if (nextCode == (1 << codeSize) && codeSize < 12)
                        ++codeSize;
                }
                previous = code;
            }
        }
        if (ended || sink.Full()) {
            // The rest of the image data is not needed.
            if (!SkipSubBlocks(in) && !sink.Full())
                return kTruncated;
            break;
        }
    }
    return sink.Full() ? nullptr : kTruncated;
}

}  // namespace

namespace hoverkit {

void DecodeGif(const std::uint8_t* data, std::size_t size, CImageFile& image) {
    image.Reset();
    CReader in(data, size);
    if (!in.Has(13) || std::memcmp(data, "GIF8", 4) != 0) {
        image.SetError("Not a GIF file");
        return;
    }
    in.Skip(6);
    const int screenWidth = in.Word();
    const int screenHeight = in.Word();
    const int flags = in.Byte();
    const int background = in.Byte();
    in.Skip(1);  // pixel aspect ratio
    std::vector<std::uint32_t> globalTable;
    if ((flags & 0x80) && !ReadColourTable(in, 2 << (flags & 7), globalTable)) {
        image.SetError(kTruncated);
        return;
    }
    if (!ImageSizeAllowed(screenWidth, screenHeight)) {
        image.SetError(screenWidth == 0 || screenHeight == 0 ? "The GIF image has no pixels"
                                                             : "The GIF image is too large");
        return;
    }

    int transparent = -1;
    for (;;) {
        if (!in.Has(1)) {
            image.SetError(kTruncated);
            return;
        }
        const int introducer = in.Byte();
        if (introducer == 0x3B) {
            image.SetError("The GIF file holds no image");
            return;
        }
        if (introducer == 0x21) {
            if (!in.Has(1)) {
                image.SetError(kTruncated);
                return;
            }
            const int label = in.Byte();
            // Graphic control extension: block of 4 with the transparent flag and index.
            if (label == 0xF9 && in.Has(6) && in.Here()[0] == 4) {
                const std::uint8_t* g = in.Here();
                transparent = (g[1] & 1) ? g[4] : -1;
            }
            if (!SkipSubBlocks(in)) {
                image.SetError(kTruncated);
                return;
            }
            continue;
        }
        if (introducer != 0x2C) {
            image.SetError("The GIF file is damaged");
            return;
        }
        if (!in.Has(9)) {
            image.SetError(kTruncated);
            return;
        }
        const int left = in.Word();
        const int top = in.Word();
        const int width = in.Word();
        const int height = in.Word();
        const int imageFlags = in.Byte();
        std::vector<std::uint32_t> localTable;
        if ((imageFlags & 0x80) && !ReadColourTable(in, 2 << (imageFlags & 7), localTable)) {
            image.SetError(kTruncated);
            return;
        }
        std::vector<std::uint32_t>& table = localTable.empty() ? globalTable : localTable;
        if (table.empty()) {
            image.SetError("The GIF file has no colour table");
            return;
        }
        if (width == 0 || height == 0) {
            image.SetError("The GIF image has no pixels");
            return;
        }
        // The frame is clipped to the screen, but its own size bounds the
        // work of decoding it.
        if (!ImageSizeAllowed(width, height)) {
            image.SetError("The GIF image is too large");
            return;
        }
        if (!in.Has(1)) {
            image.SetError(kTruncated);
            return;
        }
        const int codeSize = in.Byte();
        const int colours = static_cast<int>(table.size());
        const int depth = colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
        if (!image.Allocate(screenWidth, screenHeight, depth))
            return;
        // Outside the frame the screen shows the transparent colour if there
        // is one, else the background colour.
        const int fill = transparent >= 0 ? transparent : background;
        if (fill > 0 && fill < colours) {
            for (int y = 0; y < screenHeight; ++y)
                for (int x = 0; x < screenWidth; ++x)
                    image.SetIndex(x, y, fill);
        }
        CPixelSink sink(image, left, top, width, height, (imageFlags & 0x40) != 0, colours);
        if (const char* error = DecodeLzw(in, codeSize, sink)) {
            image.Reset();
            image.SetError(error);
            return;
        }
        image.SetPalette(std::move(table));
        image.SetTransparentIndex(transparent < colours ? transparent : -1);
        return;
    }
}

}  // namespace hoverkit
