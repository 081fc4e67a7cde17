#pragma once
// Where a file the user saves goes, and creating it without ever overwriting one: the bus
// monitor writes its log as a new CSV file in the user's documents folder.

#include <string>
#include <string_view>

namespace vcl {

// The user's documents folder: what `xdg-user-dir DOCUMENTS` prints, else XDG_DOCUMENTS_DIR of
// ${XDG_CONFIG_HOME:-$HOME/.config}/user-dirs.dirs, each only when it names an existing folder;
// else $HOME; else the current folder.
std::string DocumentsFolder();
// The same from the given program (run without a shell), home folder and config folder (empty:
// <home>/.config); an empty home has none.
std::string DocumentsFolder(const std::string& program, const std::string& home, const std::string& configHome);

// A file just created, open for writing (the caller closes fd), or why none could be.
struct TNewFile {
    std::string path;
    int fd = -1;
    std::string error;  // "cannot write /x/y.csv: Permission denied"; empty on success
};

// Creates <folder>/<stem>.<extension>, or <stem>-2.<extension>, -3, ... where the name is taken,
// with mode 0644; an existing file is never opened.
TNewFile CreateNewFile(const std::string& folder, const std::string& stem, const std::string& extension);

// The text as one CSV field: in double quotes, its quotes doubled, when it holds a comma, a
// quote, CR or LF; as it is otherwise.
std::string CsvField(std::string_view text);

}  // namespace vcl
