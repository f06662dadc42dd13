// Build-time tool: writes the picker picture and the icon as files for
// resource compilers that can only embed files.
//
//   make_resources <output-dir>   ->   <output-dir>/picker.bmp, <output-dir>/tintwright.ico

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "resources/IconImage.h"
#include "resources/PickerImage.h"

namespace {

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (file) return true;
    std::fprintf(stderr, "make_resources: cannot write %s\n", path.string().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_resources <output-dir>\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "make_resources: cannot create %s: %s\n", dir.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    const bool ok = WriteBytes(dir / "picker.bmp", tintwright::MakePickerBmp()) &&
                    WriteBytes(dir / "tintwright.ico", tintwright::MakeIconFile());
    return ok ? 0 : 1;
}
