#include "tests/emulators/PreviewPicture.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace tintwright::test {

ProgramRun RunPreview(const std::vector<std::string>& arguments) {
    std::string command = "exec '" TINTWRIGHT_PALETTE "' preview";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    return RunProgram({"sh", "-c", command + " 2>&1"});
}

Picture ReadPng(const std::string& path) {
    Picture picture;
    int channels = 0;
    unsigned char* rgb = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3);
    if (rgb == nullptr) return picture;
    const std::size_t count =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    for (std::size_t i = 0; i < count; ++i)
        picture.pixels.push_back(std::uint32_t{rgb[3 * i]} << 16 | std::uint32_t{rgb[3 * i + 1]} << 8 |
                                 rgb[3 * i + 2]);
    stbi_image_free(rgb);
    return picture;
}

}  // namespace tintwright::test
