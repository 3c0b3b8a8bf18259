#pragma once
// The program's INI file: sections of key=value lines with the usual profile
// semantics (section and key names ignore case, the first of duplicates
// wins, surrounding quotes of a value are dropped). Every write goes to the
// disk at once and atomically: the new text is written to a temporary file
// that then replaces the old one, so an interrupted write leaves the previous
// file whole. Lines that are not understood are kept as they are.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Exceptions.h"
#include "platform/IEnvironmentPlatform.h"

namespace vh {

// A write that was refused (a name or value the file cannot hold, or a
// failure of the disk); the file is unchanged.
class EIniFileError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EIniFileError"; }
};

class TIniFile {
public:
    // The file need not exist; it is created by the first write. The
    // platform must outlive the object.
    TIniFile(std::string fileName, IEnvironmentPlatform& platform);
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const noexcept { return fileName_; }

    // Readers give the default for a missing file, section or key; a file
    // that exists but cannot be read raises EFileError.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // Decimal, or hexadecimal with "0x"; text that is no 32-bit integer gives the default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    // An integer other than 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"

    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

    // The keys of the section in file order (first spelling of each).
    std::vector<std::string> ReadSection(std::string_view section) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // The temporary file a write goes through before it replaces the file.
    std::string TemporaryFileName() const { return fileName_ + ".tmp"; }

private:
    struct Content;
    Content Load() const;
    void Save(const Content& content);

    std::string fileName_;
    IEnvironmentPlatform& platform_;
};

// The integer a profile text holds, as ReadInteger understands it; false
// when it holds none.
bool ParseIniInteger(std::string_view text, std::int32_t& value) noexcept;

}  // namespace vh
