#pragma once

#include <cstddef>
#include <string_view>

// The rules by which a process shown in /proc answers to an image name. Pure
// functions over the bytes read from /proc, so that the scan allocates
// nothing and the rules can be tried without real processes.
namespace zb::procfs {

// The kernel keeps at most this many bytes of a command name (comm).
inline constexpr std::size_t kCommLength = 15;

// The part of a path after its last '/'.
std::string_view fileNameOf(std::string_view path);

// The first word of a NUL-separated command line (/proc/PID/cmdline).
std::string_view firstWordOf(std::string_view cmdline);

// Whether a program of this file name runs scripts named on its command line:
// the usual shells, python, perl, ruby, node, php, lua, tcl and the like,
// also with a version number ("python3.11", "lua5.4").
bool isInterpreter(std::string_view fileName);

// The script that the interpreter `interpreterFileName` runs according to its
// NUL-separated command line: the first argument that is neither an option
// nor an option's value. Empty when the program is no interpreter, when the
// code is given inline ("sh -c", "python3 -m", "perl -e") or when no argument
// is left.
std::string_view scriptOf(std::string_view cmdline, std::string_view interpreterFileName);

// Whether the command name alone settles a match. A comm of fifteen bytes may
// be a longer name cut short, so names of fifteen bytes or more are left to
// the full names.
bool commMatches(std::string_view comm, std::string_view name);

// The names a process answers to beyond its command name: the executable's
// file name, the file name of the first command-line word, and, when either of
// those is an interpreter, the file name of its script. Each is empty when
// there is none; they point into the arguments.
struct FullNames {
    std::string_view exe;
    std::string_view firstWord;
    std::string_view script;
};
FullNames fullNamesOf(std::string_view exeFileName, std::string_view cmdline);

// Whether one of the full names is `name`.
bool fullNamesMatch(const FullNames& names, std::string_view name);

// fullNamesMatch over fullNamesOf. `exeFileName` is empty when the executable
// could not be read.
bool fullNameMatches(std::string_view exeFileName, std::string_view cmdline, std::string_view name);

} // namespace zb::procfs
