// Fuzz target: the GIF decoder of the button wizard's image layer, then the
// operations the test area runs on a decoded image.
#include <cstddef>
#include <cstdint>

#include "hoverkit/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CImageFile image = CImageFile::FromMemory(data, size, CImageFile::kFormatGif);
    if (image.IsValid()) {
        (void)image.GetPixel(image.GetWidth() - 1, image.GetHeight() - 1);
        image.Resample(13, 7);
        image.Crop(2, 1, 11, 6);
        (void)image.ToArgb32();
    } else if (image.GetErrorText()[0] == '\0') {
        __builtin_trap();  // every refusal carries a reason
    }
    return 0;
}
