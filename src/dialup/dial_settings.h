// The stored dial-up credentials and redial time of each phone-book entry, file ".\Dial.ini":
// one section per entry with "Auto" ("1" when the user name and password are kept), "User" and
// "Pass" (both scrambled) and "Interval" (redial time in seconds, as typed).
#pragma once

#include <string>

#include "platform/prompter.h"

namespace quorlet {

inline constexpr const char* kDialIniPath = ".\\Dial.ini";
inline constexpr const char* kEnterUserAndPassword = "请输入用户名和密码 !";
inline constexpr const char* kCredentialsNotStorable = "用户名或密码中有不能保存的字符 !";
inline constexpr const char* kDefaultRedialInterval = "30";

// What the dial-up window shows and takes for one entry.
struct DialSettings {
    std::string m_strUser;
    std::string m_strPassword;
    bool m_bSavePassword = false;
    std::string m_strInterval = kDefaultRedialInterval;
};

// The byte at position i is raised by i (modulo 256) on writing and lowered by i on reading;
// both stop at the first zero byte.
std::string ScrambleDialText(const std::string& text);
std::string UnscrambleDialText(const std::string& text);

// The settings of entry: unless "Auto" is present and begins with '1', empty credentials, the
// box off and the interval "30"; otherwise the unscrambled user and password, the box on and the
// stored interval. The user and password come back byte for byte as they were saved.
DialSettings LoadDialSettings(const std::string& path, const std::string& entry);

enum class DialSaveResult {
    Saved,               // box on: "Auto" = "1", user, password and interval written
    AutoOff,             // box off: only "Auto" = "0" written; the old values stay in the file
    MissingCredentials,  // box on with an empty user or password: nothing written; the window
                         // shows kEnterUserAndPassword and clears the box
    NotStorable,  // box on, but the user or password would not come back from the file as it is
                  // (a byte that scrambles to a zero or a line break, or more than the 254 bytes
                  // read back): nothing written; the window shows kCredentialsNotStorable
    WriteFailed,  // the file could not be read or written
};

// A scrambled value is written inside quotes when the profile reading, which drops white space
// around a value and one pair of enclosing quotes, would not give it back as it is.
DialSaveResult SaveDialSettings(const std::string& path, const std::string& entry,
                                const DialSettings& settings);

// Saving from the dial-up window: SaveDialSettings, with the message of a refusal (title "提示",
// information icon). The window clears its box after either refusal.
DialSaveResult SaveEnteredDialSettings(Prompter& prompter, const std::string& path,
                                       const std::string& entry, const DialSettings& settings);

}  // namespace quorlet
