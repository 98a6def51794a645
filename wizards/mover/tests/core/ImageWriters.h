// Writers of small image files for the decoder tests and the fuzzing seed
// corpus: GIF by a small LZW encoder of our own, PNG and JPEG through Qt's
// writers (Qt is also the reference decoder the tests compare against).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace imagetest {

struct SGifLayout {
    int width = 8;
    int height = 6;
    int tableBits = 3;        // colour table of 2 << (tableBits - 1)... see Colours()
    bool localTable = false;  // the table follows the image descriptor
    bool interlaced = false;
    int transparent = -1;                   // index in a graphic control extension, or none
    int left = 0, top = 0;                  // frame position on the screen
    int screenWidth = 0, screenHeight = 0;  // 0: the frame's size
    int minCodeSize = 0;                    // 0: the usual for the table
    std::vector<std::uint8_t> pixels;       // frame pixels, row after row (empty: a pattern)
    bool secondFrame = false;               // a later frame that must be ignored

    int Colours() const { return 2 << (tableBits - 1); }
};

// The colour of table entry i in the test GIFs.
inline std::uint32_t GifColour(int i) {
    return 0xFF000000u | (static_cast<std::uint32_t>(i * 37 & 255) << 16) |
           (static_cast<std::uint32_t>(i * 91 & 255) << 8) |
           static_cast<std::uint32_t>(i * 13 & 255);
}

inline void PutWord(std::string& out, int v) {
    out += static_cast<char>(v & 255);
    out += static_cast<char>((v >> 8) & 255);
}

// LZW data of the pixels as data sub-blocks with their terminator.
inline std::string LzwSubBlocks(const std::vector<std::uint8_t>& pixels, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2;
    int size = minCodeSize + 1;
    std::string bytes;
    std::uint32_t acc = 0;
    int nbits = 0;
    auto putCode = [&](int code) {
        acc |= static_cast<std::uint32_t>(code) << nbits;
        nbits += size;
        while (nbits >= 8) {
            bytes += static_cast<char>(acc & 255);
            acc >>= 8;
            nbits -= 8;
        }
    };
    putCode(clear);
    int prefix = -1;
    for (std::uint8_t p : pixels) {
        if (prefix < 0) {
            prefix = p;
            continue;
        }
        auto it = table.find({prefix, p});
        if (it != table.end()) {
            prefix = it->second;
            continue;
        }
        putCode(prefix);
        if (next < 4096) {
            table[{prefix, p}] = next++;
            if (next - 1 == (1 << size) && size < 12) {
                {
                    { ++size; }
                }
            }
        } else {
            putCode(clear);
            table.clear();
            next = clear + 2;
            size = minCodeSize + 1;
        }
        prefix = p;
    }
    if (prefix >= 0) {
        {
            { putCode(prefix); }
        }
    }
    putCode(clear + 1);
    if (nbits > 0) {
        {
            { bytes += static_cast<char>(acc & 255); }
        }
    }
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, bytes.size() - at);
        out += static_cast<char>(n);
        out += bytes.substr(at, n);
    }
    out += '\0';
    return out;
}

inline std::vector<std::uint8_t> GifPattern(const SGifLayout& s) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < s.height; ++y) {
        {
            {
                for (int x = 0; x < s.width; ++x) {
                    {
                        {
                            pixels.push_back(
                                static_cast<std::uint8_t>((x * 3 + y * 5 + x * y) % s.Colours()));
                        }
                    }
                }
            }
        }
    }
    return pixels;
}

inline std::string MakeGif(const SGifLayout& s) {
    std::vector<std::uint8_t> pixels = s.pixels.empty() ? GifPattern(s) : s.pixels;
    std::string table;
    for (int i = 0; i < s.Colours(); ++i) {
        const std::uint32_t c = GifColour(i);
        table += static_cast<char>((c >> 16) & 255);
        table += static_cast<char>((c >> 8) & 255);
        table += static_cast<char>(c & 255);
    }
    const int flagsSize = s.tableBits - 1;
    std::string out = "GIF89a";
    PutWord(out, s.screenWidth ? s.screenWidth : s.width);
    PutWord(out, s.screenHeight ? s.screenHeight : s.height);
    out += static_cast<char>(s.localTable ? 0 : 0x80 | flagsSize);
    out += '\0';  // background
    out += '\0';
    if (!s.localTable) {
        {
            { out += table; }
        }
    }
    out += "\x21\xFE\x05hello";  // a comment extension to skip
    out += '\0';
    if (s.transparent >= 0) {
        out += std::string("\x21\xF9\x04\x01\x00\x00", 6);
        out += static_cast<char>(s.transparent);
        out += '\0';
    }
    std::vector<std::uint8_t> order = pixels;
    if (s.interlaced) {
        order.clear();
        for (int pass = 0; pass < 4; ++pass) {
            static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int y = start[pass]; y < s.height; y += step[pass]) {
                {
                    {
                        order.insert(order.end(), pixels.begin() + y * s.width,
                                     pixels.begin() + (y + 1) * s.width);
                    }
                }
            }
        }
    }
    auto frame = [&](const std::vector<std::uint8_t>& px) {
        out += ',';
        PutWord(out, s.left);
        PutWord(out, s.top);
        PutWord(out, s.width);
        PutWord(out, s.height);
        out += static_cast<char>((s.localTable ? 0x80 | flagsSize : 0) | (s.interlaced ? 0x40 : 0));
        if (s.localTable) {
            {
                { out += table; }
            }
        }
        const int code = s.minCodeSize ? s.minCodeSize : std::max(2, s.tableBits);
        out += static_cast<char>(code);
        out += LzwSubBlocks(px, code);
    };
    frame(order);
    if (s.secondFrame) {
        std::vector<std::uint8_t> other(order.size(), 0);
        frame(other);
    }
    out += ';';
    return out;
}

}  // namespace imagetest
