// Message boxes and the open-file dialog, behind an interface so that tests can script the
// answers. Text is GBK.
#pragma once

#include <optional>
#include <string>

namespace quorlet {

enum class MessageIcon { None, Information, Stop, Question, Exclamation };
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The titles of the program's message boxes; the icon that goes with each is given with it.
inline constexpr const char* kTitleNotice = "提示";  // Information icon (notices, Yes/No warnings)
inline constexpr const char* kTitleError = "错误";   // Stop icon (failures)
inline constexpr const char* kTitleQuestion = "询问";     // Question icon (questions)
inline constexpr const char* kTitleInformation = "信息";  // Information icon (plain information)

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows a message box and waits for the answer. An empty title gives the program's name
    // (a "plain" message box).
    virtual MessageAnswer Show(const std::string& text, const std::string& title, MessageIcon icon,
                               MessageButtons buttons) = 0;

    // The open-file dialog: filter in the system's "Name|*.ext|" form; the chosen path or nullopt.
    virtual std::optional<std::string> OpenFile(const std::string& filter) = 0;

    // Short forms for the usual kinds.
    void Notice(const std::string& text) {
        Show(text, kTitleNotice, MessageIcon::Information, MessageButtons::Ok);
    }
    void Error(const std::string& text) {
        Show(text, kTitleError, MessageIcon::Stop, MessageButtons::Ok);
    }
    void Information(const std::string& text) {
        Show(text, kTitleInformation, MessageIcon::Information, MessageButtons::Ok);
    }
    void Plain(const std::string& text) { Show(text, "", MessageIcon::None, MessageButtons::Ok); }
    bool AskYesNo(const std::string& text, const std::string& title, MessageIcon icon) {
        return Show(text, title, icon, MessageButtons::YesNo) == MessageAnswer::Yes;
    }
};

}  // namespace quorlet
