#include "ProcFsNameMatch.h"

#include <array>

namespace zb::procfs {

namespace {

using Words = std::array<std::string_view, 8>;

// How an interpreter's options read. Unused places stay empty. An option
// written together with its value ("-I/tmp") is one word and needs no entry.
struct OptionRules {
    Words inlineCode;             // the code is on the command line: no script file
    Words takesValue;             // the next word is the option's value
    std::string_view scriptAfter; // the next word is the script ("php -f x.php")
    bool shellCluster = false;    // "-xc" gives inline code like "-c"
};

constexpr OptionRules kShell{{"-c"}, {"-o", "+o", "-O", "+O", "--rcfile", "--init-file"}, {}, true};
constexpr OptionRules kPython{{"-c", "-m"}, {"-W", "-X", "--check-hash-based-pycs"}, {}, false};
constexpr OptionRules kPerl{{"-e", "-E"}, {"-I"}, {}, false};
constexpr OptionRules kRuby{{"-e"}, {"-I", "-r", "-C", "-E"}, {}, false};
constexpr OptionRules kNode{
    {"-e", "--eval", "-p", "--print"},
    {"-r", "--require", "--import", "--loader", "--experimental-loader", "-C", "--conditions", "--input-type"},
    {},
    false};
constexpr OptionRules kPhp{{"-r"}, {"-d", "-c", "-z"}, "-f", false};
constexpr OptionRules kLua{{"-e"}, {"-l"}, {}, false};
constexpr OptionRules kTcl{{}, {"-encoding"}, {}, false};
constexpr OptionRules kExpect{{"-c"}, {}, "-f", false};
constexpr OptionRules kRscript{{"-e"}, {}, {}, false};
constexpr OptionRules kPwsh{{"-c", "-Command"},
                            {"-ExecutionPolicy", "-WorkingDirectory", "-wd", "-ConfigurationName", "-OutputFormat",
                             "-InputFormat", "-WindowStyle", "-SettingsFile"},
                            "-File",
                            false};

struct Interpreter {
    std::string_view stem;
    const OptionRules* rules;
};

constexpr Interpreter kInterpreters[] = {
    {"sh", &kShell},   {"bash", &kShell}, {"dash", &kShell},    {"zsh", &kShell},     {"ksh", &kShell},
    {"mksh", &kShell}, {"ash", &kShell},  {"yash", &kShell},    {"posh", &kShell},    {"fish", &kShell},
    {"csh", &kShell},  {"tcsh", &kShell}, {"python", &kPython}, {"pypy", &kPython},   {"perl", &kPerl},
    {"ruby", &kRuby},  {"node", &kNode},  {"nodejs", &kNode},   {"php", &kPhp},       {"lua", &kLua},
    {"luajit", &kLua}, {"tclsh", &kTcl},  {"wish", &kTcl},      {"expect", &kExpect}, {"Rscript", &kRscript},
    {"pwsh", &kPwsh},
};

bool isVersion(std::string_view s)
{
    for (char c : s)
        if ((c < '0' || c > '9') && c != '.')
            return false;
    return true;
}

const OptionRules* rulesFor(std::string_view fileName)
{
    for (const Interpreter& i : kInterpreters)
        if (fileName.starts_with(i.stem) && isVersion(fileName.substr(i.stem.size())))
            return i.rules;
    return nullptr;
}

bool contains(const Words& words, std::string_view word)
{
    for (std::string_view w : words)
        if (!w.empty() && w == word)
            return true;
    return false;
}

// Walks the words of a NUL-separated command line.
class WordReader {
public:
    explicit WordReader(std::string_view cmdline) : rest_(cmdline) {}
    bool next(std::string_view& word)
    {
        if (rest_.empty())
            return false;
        const std::size_t end = rest_.find('\0');
        word = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
        return true;
    }

private:
    std::string_view rest_;
};

bool isShellClusterWithC(std::string_view word)
{
    if (word.size() < 2 || word[0] != '-' || word[1] == '-')
        return false;
    for (char c : word.substr(1))
        if (c < 'a' || c > 'z')
            return false;
    return word.find('c') != std::string_view::npos;
}

} // namespace

std::string_view fileNameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view firstWordOf(std::string_view cmdline) { return cmdline.substr(0, cmdline.find('\0')); }

bool isInterpreter(std::string_view fileName) { return !fileName.empty() && rulesFor(fileName) != nullptr; }

std::string_view scriptOf(std::string_view cmdline, std::string_view interpreterFileName)
{
    const OptionRules* rules = interpreterFileName.empty() ? nullptr : rulesFor(interpreterFileName);
    if (rules == nullptr)
        return {};
    WordReader words(cmdline);
    std::string_view word;
    words.next(word); // the interpreter itself
    while (words.next(word)) {
        if (word == "--" || (!rules->scriptAfter.empty() && word == rules->scriptAfter)) {
            words.next(word);
            return word;
        }
        if (contains(rules->inlineCode, word) || (rules->shellCluster && isShellClusterWithC(word)))
            return {};
        if (contains(rules->takesValue, word)) {
            words.next(word);
            continue;
        }
        // "-" alone reads the script from standard input: no file to name.
        if (word == "-")
            return {};
        if (word.starts_with('-') || (rules->shellCluster && word.starts_with('+')))
            continue;
        return word;
    }
    return {};
}

bool commMatches(std::string_view comm, std::string_view name)
{
    return !name.empty() && name.size() < kCommLength && comm == name;
}

FullNames fullNamesOf(std::string_view exeFileName, std::string_view cmdline)
{
    const std::string_view first = fileNameOf(firstWordOf(cmdline));
    std::string_view script = scriptOf(cmdline, first);
    if (script.empty())
        script = scriptOf(cmdline, exeFileName);
    return {exeFileName, first, fileNameOf(script)};
}

bool fullNamesMatch(const FullNames& names, std::string_view name)
{
    return !name.empty() && (names.exe == name || names.firstWord == name || names.script == name);
}

bool fullNameMatches(std::string_view exeFileName, std::string_view cmdline, std::string_view name)
{
    return fullNamesMatch(fullNamesOf(exeFileName, cmdline), name);
}

} // namespace zb::procfs
