#pragma once
// File paths as UTF-8 text. On Windows std::filesystem::path(std::string)
// reads the ANSI code page, so every path is built through these instead.

#include <filesystem>
#include <string>
#include <string_view>

namespace vh {

std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace vh
