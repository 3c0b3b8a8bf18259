#include "monitor/BrowserRecognition.h"

#include <array>
#include <string>

#include "common/StringUtils.h"

namespace vh {

namespace {

struct TBrowserImage {
    std::string_view WindowClass;
    std::string_view ImageName;
    TApplicationKind Kind;
};

constexpr std::array<TBrowserImage, 11> kBrowserImages = {{
    {kChromiumWindowClass, "chrome.exe", akChrome},
    {kChromiumWindowClass, "msedge.exe", akEdge},
    {kChromiumWindowClass, "brave.exe", akBrave},
    {kChromiumWindowClass, "vivaldi.exe", akVivaldi},
    {kChromiumWindowClass, "opera.exe", akOpera},
    {kChromiumWindowClass, "chromium.exe", akChromium},
    {kChromiumWindowClass, "thorium.exe", akChromium},
    {kChromiumWindowClass, "iron.exe", akChromium},
    {kChromiumWindowClass, "yandex.exe", akChromium},
    {kChromiumWindowClass, "epic.exe", akChromium},
    {kFirefoxWindowClass, "firefox.exe", akFirefox},
}};

std::string_view FileName(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Yandex's program is a plain "browser.exe": only its folder tells it.
bool IsYandexImage(std::string_view imagePath) {
    constexpr std::string_view kFolder = "\\YandexBrowser\\Application\\";
    const std::string_view image = FileName(imagePath);
    if (!SameTextAscii(image, "browser.exe") || imagePath.size() < kFolder.size() + image.size()) return false;
    // The folder the program lies in, either slash.
    std::string folder(imagePath.substr(imagePath.size() - image.size() - kFolder.size(), kFolder.size()));
    for (char& c : folder)
        if (c == '/') c = '\\';
    return SameTextAscii(folder, kFolder);
}

}  // namespace

TApplicationKind RecognizeBrowser(std::string_view windowClass, std::string_view imagePath) {
    if (windowClass == kChromiumWindowClass && IsYandexImage(imagePath)) return akChromium;
    const std::string_view image = FileName(imagePath);
    for (const TBrowserImage& browser : kBrowserImages)
        if (windowClass == browser.WindowClass && SameTextAscii(image, browser.ImageName)) return browser.Kind;
    return akDesktop;
}

}  // namespace vh
