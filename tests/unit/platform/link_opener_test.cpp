#include "platform/link_opener.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/memory_registry.h"

namespace quorlet {
namespace {

class ScriptedShell final : public Shell {
public:
    int openResult = 33;
    int runResult = 33;
    std::vector<std::string> opened, run;
    int Open(const std::string& document) override {
        opened.push_back(document);
        return openResult;
    }
    int Run(const std::string& commandLine) override {
        run.push_back(commandLine);
        return runResult;
    }
    std::optional<std::string> AssociatedCommand(const std::string&) override {
        return std::nullopt;
    }
};

TEST(LinkOpener, BrowserCommandLine) {
    const std::string url = "https://quorlet.example.org/";
    struct Case {
        const char* command;
        std::string expected;
    };
    const Case cases[] = {
        {R"("C:\Browser\b.exe" -osint -url "%1")", R"("C:\Browser\b.exe" -osint -url  )" + url},
        {R"(C:\b.exe %1)", R"(C:\b.exe  )" + url},
        {R"(C:\b.exe %1 "%1")", R"(C:\b.exe %1  )" + url},  // the quoted one wins
        {R"(C:\b.exe -nohome)", R"(C:\b.exe -nohome )" + url},
        {"", " " + url},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BrowserCommandLine(c.command, url), c.expected) << c.command;
    }
}

TEST(LinkOpener, FallsBackToTheHtmCommandOnlyWhenTheShellFails) {
    const auto CR = RegistryRoot::ClassesRoot;
    MemoryRegistry registry;
    ScriptedShell shell;
    // The shell opens it: nothing else is tried.
    EXPECT_EQ(GotoUrl(shell, registry, "mailto:a@b.c"), 33);
    EXPECT_TRUE(shell.run.empty());

    // The shell fails and no association is known: its code comes back.
    shell.openResult = 31;
    EXPECT_EQ(GotoUrl(shell, registry, "mailto:a@b.c"), 31);
    registry.PutString(CR, ".htm", "", "htmlfile");
    EXPECT_EQ(GotoUrl(shell, registry, "mailto:a@b.c"), 31);
    EXPECT_TRUE(shell.run.empty());

    // With the file type's open command, the command starts with the URL.
    registry.PutString(CR, "htmlfile\\shell\\open\\command", "", "\"C:\\b.exe\" \"%1\"");
    shell.runResult = 2;
    EXPECT_EQ(GotoUrl(shell, registry, "http://x/"), 2);
    EXPECT_EQ(shell.run, std::vector<std::string>{"\"C:\\b.exe\"  http://x/"});
}

TEST(LinkOpener, ErrorTexts) {
    EXPECT_EQ(HyperlinkErrorText(26),
              "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(HyperlinkErrorText(0),
              "Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
    EXPECT_EQ(HyperlinkErrorText(-7), "Unable to open hyperlink:\n\nUnknown Error (-7) occurred.");
    EXPECT_EQ(HyperlinkErrorText(1), "Unable to open hyperlink:\n\nUnknown Error (1) occurred.");
}

}  // namespace
}  // namespace quorlet
