#include "platform/linux/ProcFsNameMatch.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zb::procfs {
namespace {

using namespace std::string_view_literals;

TEST(ProcFsNameMatch, FileNamesAndFirstWords)
{
    EXPECT_EQ(fileNameOf("/usr/bin/sleep"), "sleep");
    EXPECT_EQ(fileNameOf("sleep"), "sleep");
    EXPECT_EQ(fileNameOf("./job.sh"), "job.sh");
    EXPECT_EQ(fileNameOf("/trailing/"), "");
    EXPECT_EQ(firstWordOf("/bin/sh\0job.sh\0"sv), "/bin/sh");
    EXPECT_EQ(firstWordOf("nginx: worker process"sv), "nginx: worker process");
    EXPECT_EQ(firstWordOf(""sv), "");
}

TEST(ProcFsNameMatch, InterpretersAreKnownByNameWithOrWithoutAVersion)
{
    for (std::string_view yes : {"sh", "bash", "dash", "zsh", "python", "python3", "python3.11", "perl", "perl5.36.0",
                                 "ruby3.1", "node", "nodejs", "php8.2", "lua5.4", "tclsh8.6", "pypy3"})
        EXPECT_TRUE(isInterpreter(yes)) << yes;
    for (std::string_view no : {"", "sleep", "shred", "bashful", "python3-config", "sh-5", "env", "notepad.exe"})
        EXPECT_FALSE(isInterpreter(no)) << no;
}

TEST(ProcFsNameMatch, TheScriptIsTheFirstArgumentThatIsNeitherAnOptionNorItsValue)
{
    const struct {
        std::string_view cmdline;
        std::string_view interpreter;
        std::string_view script;
    } cases[] = {
        {"python3\0job.py\0"sv, "python3", "job.py"},
        {"python3\0-u\0-W\0ignore\0/srv/job.py\0--fast\0"sv, "python3", "/srv/job.py"},
        {"python3\0-m\0http.server\0"sv, "python3", ""},
        {"python3\0-c\0print(1)\0"sv, "python3", ""},
        {"python3\0"sv, "python3", ""},
        {"/bin/sh\0./job.sh\0arg\0"sv, "sh", "./job.sh"},
        {"bash\0-e\0-o\0pipefail\0run.sh\0"sv, "bash", "run.sh"},
        {"bash\0+x\0run.sh\0"sv, "bash", "run.sh"},
        {"sh\0-c\0sleep 5\0"sv, "sh", ""},
        {"sh\0-xc\0sleep\0"sv, "sh", ""},
        {"sh\0-\0"sv, "sh", ""},
        {"perl\0-w\0tidy.pl\0"sv, "perl", "tidy.pl"},
        {"perl\0-e\0print 1\0"sv, "perl", ""},
        {"perl\0-I\0/tmp\0x.pl\0"sv, "perl", "x.pl"}, // an option's value is no script
        {"perl\0-I/tmp\0x.pl\0"sv, "perl", "x.pl"},
        {"bash\0--rcfile\0rc\0job.sh\0"sv, "bash", "job.sh"},
        {"node\0--loader\0ts-node/esm\0app.mjs\0"sv, "node", "app.mjs"},
        {"ruby\0-E\0UTF-8\0job.rb\0"sv, "ruby", "job.rb"},
        {"node\0--require\0ts-node/register\0app.js\0"sv, "node", "app.js"},
        {"php\0-d\0x=1\0-f\0site.php\0"sv, "php", "site.php"},
        {"ruby\0--\0-dash-named.rb\0"sv, "ruby", "-dash-named.rb"},
        {"python3\0job.py"sv, "python3", "job.py"}, // no final NUL
        {"sleep\0job.py\0"sv, "sleep", ""},         // not an interpreter
        {"python3\0\0job.py\0"sv, "python3", ""},   // an empty argument names no file
    };
    for (const auto& c : cases)
        EXPECT_EQ(scriptOf(c.cmdline, c.interpreter), c.script)
            << std::string(c.cmdline.substr(0, c.cmdline.find('\0')));
}

TEST(ProcFsNameMatch, TheCommandNameSettlesOnlyNamesItCannotHaveCutShort)
{
    EXPECT_TRUE(commMatches("sleep", "sleep"));
    EXPECT_TRUE(commMatches("fourteen-chars", "fourteen-chars"));
    EXPECT_FALSE(commMatches("fifteen-chars-x", "fifteen-chars-x")) << "may be a longer name cut short";
    EXPECT_FALSE(commMatches("a-very-long-pro", "a-very-long-program-name"));
    EXPECT_FALSE(commMatches("sleep", "slee"));
    EXPECT_FALSE(commMatches("sleep", "Sleep"));
    EXPECT_FALSE(commMatches("", ""));
}

TEST(ProcFsNameMatch, FullNamesMatchByExecutableFirstWordOrScript)
{
    const struct {
        std::string_view exe;
        std::string_view cmdline;
        std::string_view name;
        bool matches;
    } cases[] = {
        {"sleep",
         "sleep\0"
         "30\0"sv,
         "sleep", true},
        {"python3.11", "python3\0job.py\0"sv, "python3.11", true},
        {"python3.11", "python3\0job.py\0"sv, "python3", true},
        {"python3.11", "python3\0job.py\0"sv, "job.py", true},
        {"python3.11", "/usr/bin/python3\0/srv/jobs/job.py\0"sv, "job.py", true},
        {"python3.11", "python3\0job.py\0"sv, "job", false},
        {"dash", "/bin/sh\0/home/u/a-long-nightly-script.sh\0"sv, "a-long-nightly-script.sh", true},
        {"bash", "-bash\0"sv, "bash", true},
        {"", "a-very-long-program-name\0"sv, "a-very-long-program-name", true},
        {"a-very-long-program-name", ""sv, "a-very-long-program-name", true},
        {"busybox", "ls\0-l\0"sv, "ls", true},
        {"sleep", "sleep\0job.py\0"sv, "job.py", false},
        {"perl", "perl\0-I\0/tmp\0x.pl\0"sv, "tmp", false},
        {"perl", "perl\0-I\0/tmp\0x.pl\0"sv, "x.pl", true},
        {"sleep",
         "sleep\0"
         "30\0"sv,
         "", false},
        {"", ""sv, "", false},
        {"it's \"q\"", "it's \"q\"\0"sv, "it's \"q\"", true},
        {"caf\xc3\xa9", "caf\xc3\xa9\0"sv, "cafe", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fullNameMatches(c.exe, c.cmdline, c.name), c.matches) << c.exe << " / " << c.name;
}

} // namespace
} // namespace zb::procfs
