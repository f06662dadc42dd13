// Build-time tool: writes the resource script and the manifest the Windows
// build compiles into tintwright.exe.
//
//   tintwright_make_rc <output-dir> [--system-code-page]
//       ->   <output-dir>/tintwright.rc, <output-dir>/tintwright.manifest
//
// --system-code-page leaves out the request for UTF-8, so the tests can also
// run the way older Windows runs the program.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "buildtools/ResourceScript.h"

namespace {

bool WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (file) return true;
    std::fprintf(stderr, "tintwright_make_rc: cannot write %s\n", path.string().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const bool systemCodePage = argc == 3 && std::string(argv[2]) == "--system-code-page";
    if (argc != 2 && !systemCodePage) {
        std::fprintf(stderr, "usage: tintwright_make_rc <output-dir> [--system-code-page]\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "tintwright_make_rc: cannot create %s: %s\n", dir.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    const auto codePage =
        systemCodePage ? tintwright::ManifestCodePage::System : tintwright::ManifestCodePage::Utf8;
    const bool ok = WriteText(dir / "tintwright.rc", tintwright::MakeResourceScript()) &&
                    WriteText(dir / tintwright::kManifestFile, tintwright::MakeManifest(codePage));
    return ok ? 0 : 1;
}
