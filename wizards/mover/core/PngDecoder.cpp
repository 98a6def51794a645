// PNG decoding through libpng. libpng reports errors by a long jump back to
// the setjmp of the function that called it; only the small C-style functions
// below call libpng, and their frames hold nothing with a destructor, so the
// jump never skips C++ clean-up. The C++ side allocates the pixels between
// reading the header and reading the rows.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "hoverkit/ImageFile.h"

namespace {

struct SPngState {
    png_structp png;
    png_infop info;
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
    std::jmp_buf jump;
    png_uint_32 width;
    png_uint_32 height;
    int channels;
};

enum EPngResult { kPngOk = 0, kPngNoStruct = 1, kPngNoInfo = 2, kPngReadError = 3 };

extern "C" void PngError(png_structp png, png_const_charp) {
    SPngState* state = static_cast<SPngState*>(png_get_error_ptr(png));
    std::longjmp(state->jump, 1);
}

extern "C" void PngWarning(png_structp, png_const_charp) {}

extern "C" void PngRead(png_structp png, png_bytep out, png_size_t length) {
    SPngState* state = static_cast<SPngState*>(png_get_io_ptr(png));
    if (state->size - state->pos < length)
        png_error(png, "truncated");
    std::memcpy(out, state->data + state->pos, length);
    state->pos += length;
}

// Reads the header and sets the conversions to 8-bit BGR or BGRA.
int PngReadHeader(SPngState* state) {
    state->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state, PngError, PngWarning);
    if (state->png == nullptr)
        return kPngNoStruct;
    state->info = png_create_info_struct(state->png);
    if (state->info == nullptr)
        return kPngNoInfo;
    if (setjmp(state->jump))
        return kPngReadError;
    png_set_read_fn(state->png, state, PngRead);
    png_set_user_limits(state->png, CImageFile::kMaxSide, CImageFile::kMaxSide);
    png_read_info(state->png, state->info);
    png_set_expand(state->png);
    png_set_scale_16(state->png);
    png_set_gray_to_rgb(state->png);
    png_set_bgr(state->png);
    png_set_interlace_handling(state->png);
    png_read_update_info(state->png, state->info);
    state->width = png_get_image_width(state->png, state->info);
    state->height = png_get_image_height(state->png, state->info);
    state->channels = png_get_channels(state->png, state->info);
    return kPngOk;
}

int PngReadRows(SPngState* state, png_bytepp rows) {
    if (setjmp(state->jump))
        return kPngReadError;
    png_read_image(state->png, rows);
    return kPngOk;
}

}  // namespace

namespace hoverkit {

void DecodePng(const std::uint8_t* data, std::size_t size, CImageFile& image) {
    image.Reset();
    SPngState state{};
    state.data = data;
    state.size = size;
    int result = PngReadHeader(&state);
    if (result == kPngOk) {
        if (state.channels != 3 && state.channels != 4) {
            result = kPngReadError;
        } else if (!ImageSizeAllowed(state.width, state.height)) {
            image.SetError("The image is too large");
        } else if (image.Allocate(static_cast<int>(state.width), static_cast<int>(state.height),
                                  state.channels * 8)) {
            std::vector<png_bytep> rows(state.height);
            for (png_uint_32 y = 0; y < state.height; ++y)
                rows[y] = image.MutableRow(static_cast<int>(y));
            result = PngReadRows(&state, rows.data());
        }
    }
    switch (result) {
    case kPngNoStruct: image.SetError("Failed to create PNG structure"); break;
    case kPngNoInfo: image.SetError("Failed to initialize PNG info structure"); break;
    case kPngReadError:
        image.Reset();
        image.SetError("Error reading PNG file");
        break;
    default: break;
    }
    if (state.png != nullptr)
        png_destroy_read_struct(&state.png, state.info ? &state.info : nullptr, nullptr);
}

}  // namespace hoverkit
