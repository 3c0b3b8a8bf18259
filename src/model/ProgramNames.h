#pragma once
// The one rule that decides whether a running program belongs to an
// application entry, for names as people write them: a full path in either
// slash ("c:/program files/editor/edit.exe"), in any letter case, quoted as
// Explorer's "Copy as path" gives it, or a bare file name ("edit.exe",
// "Edit", taken as edit.exe) that stands for that program in any folder.
// Stored names are never rewritten; they are compared in this form.

#include <optional>
#include <string>
#include <string_view>

namespace vh {

// The form an entry's name is compared in: surrounding blanks and double
// quotes dropped, ASCII lower case, "\" as the only separator, repeated
// separators made one (a UNC path keeps its leading pair), and ".exe" added
// to a bare file name that has no extension.
std::string ProgramNameKey(std::string_view entryName);

// A key without a folder: it matches that file name anywhere.
bool IsBareProgramKey(std::string_view key) noexcept;

// Whether the program at `processPath` (a full path as the system reports
// it) is the one the application entry `entryName` names.
bool ProgramMatches(std::string_view entryName, std::string_view processPath);

// The same question in two halves, for matching many programs against many
// entries with each name folded once: a program's path in the form keys are
// compared in, and whether an entry's key (ProgramNameKey) names it.
std::string ProgramPathKey(std::string_view processPath);
bool ProgramKeyMatches(std::string_view entryKey, std::string_view pathKey) noexcept;

// Whether two entry names name the same program (one entry, two spellings).
bool SameProgram(std::string_view a, std::string_view b);

// Why a typed text cannot name a program, or nothing when it can: empty
// after trimming, a folder (ends with a separator, or `existingFolder` says
// the system has a folder there), or a character Windows forbids in file
// names.
std::optional<std::string> ProgramNameProblem(std::string_view typed, bool existingFolder = false);

// What the user is told, below the entry's name, of a typed full path at
// which no file exists (yet): the entry is kept, for a program installed later.
inline constexpr std::string_view kMissingProgramFileNotice = "No such file exists yet.";

// The typed text as it is stored: blanks and surrounding quotes dropped,
// otherwise as typed (environment variables are the caller's to expand).
std::string TrimmedProgramName(std::string_view typed);

}  // namespace vh
