// stb_image_write's implementation for the tests that make JPEG files (built without the undefined-behaviour
// sanitizer: the encoder shifts negative values by design).
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop
