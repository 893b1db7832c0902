// The stored dial-up credentials and redial time of each phone-book entry, file ".\Dial.ini":
// one section per entry with "Auto" ("1" when the user name and password are kept), "User" and
// "Pass" (both scrambled) and "Interval" (redial time in seconds, as typed).
#pragma once

#include <string>

namespace quorlet {

inline constexpr const char* kDialIniPath = ".\\Dial.ini";
inline constexpr const char* kEnterUserAndPassword = "请输入用户名和密码 !";
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
// stored interval.
DialSettings LoadDialSettings(const std::string& path, const std::string& entry);

enum class DialSaveResult {
    Saved,               // box on: "Auto" = "1", user, password and interval written
    AutoOff,             // box off: only "Auto" = "0" written; the old values stay in the file
    MissingCredentials,  // box on with an empty user or password: nothing written; the window
                         // shows kEnterUserAndPassword and clears the box
    WriteFailed,         // the file could not be read or written
};

DialSaveResult SaveDialSettings(const std::string& path, const std::string& entry,
                                const DialSettings& settings);

}  // namespace quorlet
