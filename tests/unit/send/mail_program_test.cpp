#include "send/mail_program.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/memory_registry.h"
#include "support/scripted_prompter.h"

namespace quorlet {
namespace {

TEST(MailProgram, CommandFromTheRegisteredOpenCommand) {
    const std::optional<std::string> folder = "C:\\Program Files";
    struct Case {
        const char* registered;
        std::optional<std::string> programFiles;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        // A quoted %ProgramFiles% path with a switch: the switch goes, the folder comes in.
        {R"("%ProgramFiles%\Mail\mail.exe" /mailurl:%1)", folder,
         R"("C:\Program Files\Mail\mail.exe" )"},
        // A plain path and a quoted placeholder: cut at the "%", leaving a lone quote.
        {R"(C:\Mail\mail.exe "%1")", folder, R"(C:\Mail\mail.exe ")"},
        {R"(C:\Mail\mail.exe %1)", folder, R"(C:\Mail\mail.exe )"},
        {R"(C:\Mail\mail.exe)", folder, R"(C:\Mail\mail.exe)"},
        // No backslash after %ProgramFiles%: the quote and the folder alone.
        {R"("%ProgramFiles%mail.exe")", folder, R"("C:\Program Files)"},
        // A folder that already ends with a backslash is taken as it is.
        {R"("%ProgramFiles%\M\m.exe")", std::string("D:\\Apps\\"), R"("D:\Apps\\M\m.exe")"},
        // Without the folder nothing is run.
        {R"("%ProgramFiles%\Mail\mail.exe")", std::nullopt, std::nullopt},
        // The "/" cut comes first, so a %ProgramFiles% after a switch plays no part.
        {R"(C:\m.exe /x %ProgramFiles%\y)", std::nullopt, R"(C:\m.exe )"},
        {"", folder, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MailProgramCommand(c.registered, c.programFiles), c.expected) << c.registered;
    }
}

TEST(MailProgram, ACommandThatWouldNotFitIsNotRun) {
    const std::string tail(200, 'x');
    const std::string registered = "\"%ProgramFiles%\\" + tail + ".exe\"";
    EXPECT_EQ(MailProgramCommand(registered, std::string(50, 'F')), std::nullopt);
    // 255 bytes fit the 256-byte buffer with its terminator; 256 do not.
    EXPECT_TRUE(MailProgramCommand(std::string(255, 'a'), std::nullopt).has_value());
    EXPECT_FALSE(MailProgramCommand(std::string(256, 'a'), std::nullopt).has_value());
}

class MailShell final : public Shell {
public:
    std::optional<std::string> userMailto;
    std::vector<std::string> run;
    int Open(const std::string&) override { return kShellFailedAtMost + 1; }
    int Run(const std::string& commandLine) override {
        run.push_back(commandLine);
        return 0;  // a failing start is not reported
    }
    std::optional<std::string> AssociatedCommand(const std::string& scheme) override {
        return scheme == "mailto" ? userMailto : std::nullopt;
    }
};

TEST(MailProgram, StartsTheMachinesOrTheUsersMailProgramOrSaysWhyNot) {
    const char* const kMailto = "SOFTWARE\\Classes\\mailto\\shell\\open\\command";
    const char* const kWindows = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    const auto LM = RegistryRoot::LocalMachine;
    enum class Machine { Command, Missing, Unreadable };
    struct Case {
        const char* what;
        Machine machine;
        const char* command;  // the machine's or, with Missing, the user's (nullptr: none)
        bool programFilesKnown;
        std::vector<std::string> run;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"the machine's command",
         Machine::Command,
         R"("%ProgramFiles%\M\m.exe" /mailurl:%1)",
         true,
         {R"("C:\Program Files\M\m.exe" )"},
         {}},
        {"the user's own choice",
         Machine::Missing,
         R"("C:\T\t.exe" -compose "%1")",
         true,
         {R"("C:\T\t.exe" -compose ")"},
         {}},
        {"no mail program at all", Machine::Missing, nullptr, true, {}, {kMailtoKeyFailed}},
        {"an unreadable command", Machine::Unreadable, "x", true, {}, {kMailtoValueFailed}},
        {"no Program Files folder",
         Machine::Command,
         R"("%ProgramFiles%\m.exe")",
         false,
         {},
         {kProgramFilesValueFailed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRegistry registry;
        MailShell shell;
        testing::ScriptedPrompter prompter;
        registry.PutString(LM, kWindows, "Other", "x");
        if (c.programFilesKnown) {
            registry.PutString(LM, kWindows, "ProgramFilesDir", "C:\\Program Files");
        }
        if (c.machine == Machine::Missing) {
            shell.userMailto = c.command ? std::optional<std::string>(c.command) : std::nullopt;
        } else {
            registry.PutString(LM, kMailto, "", c.command);
        }
        if (c.machine == Machine::Unreadable) {
            registry.Fail(MemoryRegistry::Operation::Read, LM, kMailto);
        }
        StartMailProgram(registry, shell, prompter);
        EXPECT_EQ(shell.run, c.run);
        EXPECT_EQ(prompter.Texts(), c.messages);
        for (const auto& shown : prompter.shown) {
            EXPECT_EQ(shown.icon, MessageIcon::Stop);
        }
    }
}

TEST(MailProgram, TheProgramFilesKeyItselfMissing) {
    MemoryRegistry registry;
    MailShell shell;
    testing::ScriptedPrompter prompter;
    registry.PutString(RegistryRoot::LocalMachine,
                       "SOFTWARE\\Classes\\mailto\\shell\\open\\command", "",
                       "%ProgramFiles%\\m.exe");
    StartMailProgram(registry, shell, prompter);
    EXPECT_TRUE(shell.run.empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, kProgramFilesKeyFailed);
    EXPECT_EQ(prompter.shown[0].title, "Error");
}

}  // namespace
}  // namespace quorlet
