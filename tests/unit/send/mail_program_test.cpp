#include "send/mail_program.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorlet
