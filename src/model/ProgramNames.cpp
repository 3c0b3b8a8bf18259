#include "model/ProgramNames.h"

#include "common/StringUtils.h"

namespace vh {
namespace {

bool IsSeparator(char c) noexcept {
    return c == '\\' || c == '/';
}

// Lower case with one kind of separator, repeats made one; a leading pair
// stays, since "\\server\share" means something else than "\server\share".
std::string FoldPath(std::string_view path) {
    std::string folded;
    folded.reserve(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (!IsSeparator(c)) {
            folded += c;
            continue;
        }
        const bool uncStart = i == 1 && IsSeparator(path[0]);
        if (folded.empty() || folded.back() != '\\' || uncStart) folded += '\\';
    }
    return AsciiLowerCase(folded);
}

std::string_view FileNameOf(std::string_view key) noexcept {
    const auto slash = key.find_last_of('\\');
    return slash == std::string_view::npos ? key : key.substr(slash + 1);
}

// "c:notepad.exe" is relative to a drive, not a bare name; only a name with
// neither a separator nor a drive stands for that file in any folder.
bool HasFolder(std::string_view key) noexcept {
    return key.find_first_of("\\:") != std::string_view::npos;
}

bool ForbiddenInFileNames(char c) noexcept {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

}  // namespace

std::string TrimmedProgramName(std::string_view typed) {
    std::string text = Trim(typed);
    while (!text.empty() && (text.front() == '"' || text.back() == '"')) {
        if (text.front() == '"') text.erase(0, 1);
        if (!text.empty() && text.back() == '"') text.pop_back();
        text = Trim(text);
    }
    return text;
}

std::string ProgramNameKey(std::string_view entryName) {
    std::string key = FoldPath(TrimmedProgramName(entryName));
    if (!key.empty() && !HasFolder(key) && key.find('.') == std::string::npos) key += ".exe";
    return key;
}

bool IsBareProgramKey(std::string_view key) noexcept {
    return !key.empty() && !HasFolder(key);
}

bool ProgramMatches(std::string_view entryName, std::string_view processPath) {
    return ProgramKeyMatches(ProgramNameKey(entryName), ProgramPathKey(processPath));
}

std::string ProgramPathKey(std::string_view processPath) {
    return FoldPath(processPath);
}

bool ProgramKeyMatches(std::string_view entryKey, std::string_view pathKey) noexcept {
    if (entryKey.empty()) return false;
    return IsBareProgramKey(entryKey) ? FileNameOf(pathKey) == entryKey : pathKey == entryKey;
}

bool SameProgram(std::string_view a, std::string_view b) {
    const std::string key = ProgramNameKey(a);
    return !key.empty() && key == ProgramNameKey(b);
}

std::optional<std::string> ProgramNameProblem(std::string_view typed, bool existingFolder) {
    const std::string name = TrimmedProgramName(typed);
    if (name.empty()) return "Please enter the file name of a program, eg excel.exe, or its file address.";
    if (existingFolder || IsSeparator(name.back()) || (name.size() == 2 && name[1] == ':'))
        return "\"" + name + "\" is a folder, not a program. Please enter the program's file name, eg excel.exe.";
    for (size_t i = 0; i < name.size(); ++i) {
        // A colon belongs only after the drive letter.
        const bool badColon = name[i] == ':' && i != 1;
        if (ForbiddenInFileNames(name[i]) || badColon)
            return "\"" + name +
                   "\" cannot be the name of a program: Windows does not allow any of these characters in file "
                   "names: < > : \" | ? *";
    }
    return std::nullopt;
}

}  // namespace vh
