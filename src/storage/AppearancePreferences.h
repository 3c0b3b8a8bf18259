#pragma once
// The look and placement of the windows, kept in the INI file's sections
// "Position" and "Background", each preference with its own small cache;
// the shared background picture; the skin pictures found beside the program.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "environment/Picture.h"
#include "environment/ZuravoZazoApplicationDefs.h"

namespace vh {

inline constexpr std::int32_t kDefaultTextColor = 16777215;  // white
inline constexpr std::int32_t kDefaultTransparency = 10;     // percent

// A skin picture: the file name without folder and extension, and its full path.
struct TSkin {
    std::string Name;
    std::string Path;
    std::string Line() const { return Name + "=" + Path; }
};

class TAppearancePreferences {
public:
    // The environment must outlive the object.
    explicit TAppearancePreferences(TEnvironment& environment);
    TAppearancePreferences(const TAppearancePreferences&) = delete;
    TAppearancePreferences& operator=(const TAppearancePreferences&) = delete;

    // Setters raise EIniFileError when the file cannot be written; the cache
    // then keeps the previous value, so a retry writes again.

    // Read from the file on every call.
    bool GetAutohide();
    void SetAutohide(bool value);
    // 1 right edge, 2 left edge. Read once (0 in the cache means not read);
    // storing the value already held writes nothing.
    std::uint8_t GetAlign();
    void SetAlign(std::uint8_t value);
    // 0 top, 1 bottom, 2 top; as Align, default 0, so 0 is read every time.
    std::uint8_t GetAlignVertical();
    void SetAlignVertical(std::uint8_t value);
    // Read once (-1 in the cache means not read); setters always write.
    std::int32_t GetBackgroundColor();
    void SetBackgroundColor(std::int32_t value);
    std::int32_t GetTextColor();
    void SetTextColor(std::int32_t value);
    std::int32_t GetTransparency();
    void SetTransparency(std::int32_t value);
    // The usage history's range (an index of its choices), read on every
    // call from section "History"; 0 when not stored.
    std::int32_t GetHistoryRange();
    void SetHistoryRange(std::int32_t value);
    // Full path of the background picture; empty for none. The setter
    // writes the path and reloads the background picture from it.
    std::string GetBackgroundImage();
    void SetBackgroundImage(const std::string& path);

    // Loaded from the "Image" path on the first call; empty when that file
    // is missing or cannot be read as a picture.
    const TImage32& GetBackgroundPicture();

    // The pictures below GProgramFolder + "Skins\\", subfolders included: one
    // entry per name (the later path in sorted order wins), sorted.
    std::vector<TSkin> ListSkins();

private:
    std::uint8_t ReadByte(const char* key, std::uint8_t defaultValue, std::uint8_t& cache);
    void WriteByte(const char* key, std::uint8_t value, std::uint8_t& cache, std::uint8_t defaultValue);
    std::int32_t ReadCachedInteger(const char* key, std::int32_t defaultValue, std::int32_t& cache);
    void WriteInteger(const char* key, std::int32_t value, std::int32_t& cache);
    void LoadBackgroundPicture(const std::string& path);

    TEnvironment& environment_;
    bool autohide_ = false;
    std::uint8_t align_ = 0;
    std::uint8_t alignVertical_ = 0;
    std::int32_t color_ = -1;
    std::int32_t textColor_ = -1;
    std::int32_t transparency_ = -1;
    std::string image_;
    std::optional<TImage32> picture_;
};

// The program's preferences, built on the installed environment at first use
// (and again after the environment has been replaced).
TAppearancePreferences& AppearancePreferences();
const TImage32& GetBackgroundPicture();
std::vector<TSkin> ListSkins();

}  // namespace vh
