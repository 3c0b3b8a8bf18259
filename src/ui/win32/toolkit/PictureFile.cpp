#include "ui/win32/toolkit/PictureFile.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "common/Paths.h"
#include "environment/Picture.h"

namespace vh::win32 {

TGraphic LoadGraphicFile(const std::string& path) {
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file) throw EPictureError("Cannot open picture file '" + path + "'");
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) throw EPictureError("Cannot read picture file '" + path + "'");
    TImage32 image;
    try {
        image = DecodePicture(bytes);
    } catch (const EPictureError& e) {
        throw EPictureError(std::string(e.what()) + " ('" + path + "')");
    }
    TGraphic graphic;
    graphic.size = {image.Width, image.Height};
    graphic.pixels = std::move(image.Pixels);
    graphic.png = image.Format == TPictureFormat::Png;
    graphic.transparency = image.HasAlpha;
    return graphic;
}

}  // namespace vh::win32
