// Build-time tool: writes the program's icon as the hicolor theme wants it, from the same artwork
// the window icon is drawn from (platform/toolkit/AppIcon).
// Usage: velmo-render-icons <folder> <desktop id>
//   -> <folder>/<n>x<n>/apps/<id>.png for each size, <folder>/scalable/apps/<id>.svg

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/draw/Png.h"
#include "platform/toolkit/AppIcon.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmo-render-icons <folder> <desktop id>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string id = argv[2];
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path apps = folder / name / "apps";
        std::filesystem::create_directories(apps);
        if (!vcl::SavePng(vcl::DrawAppIcon(size), (apps / (id + ".png")).string())) {
            std::fprintf(stderr, "velmo-render-icons: cannot write the %s icon\n", name.c_str());
            return 1;
        }
    }
    const std::filesystem::path scalable = folder / "scalable" / "apps";
    std::filesystem::create_directories(scalable);
    std::ofstream svg(scalable / (id + ".svg"));
    svg << vcl::AppIconSvg();
    return svg.good() ? 0 : 1;
}
