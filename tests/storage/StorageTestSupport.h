#pragma once
// Helpers of the storage tests: direct engine access for setting up and
// inspecting database files (temporary folders come from the doubles).

#include <filesystem>
#include <string>
#include <vector>

namespace vh::testing {

// UTF-8 path of `name` inside `folder`.
std::string FileIn(const std::filesystem::path& folder, const std::string& name);

// Copies the ready-made database `name` ("settings.sqlite", "actmondb.sqlite")
// that the build generated to `target`.
void CopyReadyMadeDatabase(const std::string& name, const std::string& target);

// Runs a whole script (several statements) on the file, bypassing the layer
// under test; raises std::runtime_error with the engine's text on failure.
void RunScript(const std::string& fileName, const std::string& sql);

// Each row of the query as its columns' texts ("<null>" for NULL).
std::vector<std::vector<std::string>> QueryRows(const std::string& fileName, const std::string& sql);

}  // namespace vh::testing
