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

// Copies `source` over `target` (both UTF-8 paths); MinGW's copy_file does not
// replace an existing file under Wine, so the target goes first.
void CopyFileReplacing(const std::string& source, const std::string& target);

// Runs a whole script (several statements) on the file, bypassing the layer
// under test; raises std::runtime_error with the engine's text on failure.
void RunScript(const std::string& fileName, const std::string& sql);

// One entry of a time-limit list table ("applications_list", "websites_list").
void InsertListEntry(const std::string& fileName, const std::string& table, const std::string& name,
                     const std::string& caption, int active = 1);
// One activity log row, as the engine writes it.
void InsertLogRow(const std::string& fileName, const std::string& date, const std::string& app, const std::string& url,
                  int seconds, int origin);

// The bytes of a sound one-page database file whose page carries `tag`.
std::string DatabaseImage(const std::string& tag);

// Each row of the query as its columns' texts ("<null>" for NULL).
std::vector<std::vector<std::string>> QueryRows(const std::string& fileName, const std::string& sql);

}  // namespace vh::testing
