// A Prompter whose answers a test sets in advance and which records every message shown.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace quorlet::testing {

class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        std::string text;
        std::string title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    // Answers given in order; when none is left, a box is answered with its first button.
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<Shown> shown;

    MessageAnswer Show(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override {
        shown.push_back({text, title, icon, buttons});
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    std::optional<std::string> OpenFile(const std::string&) override {
        if (files.empty()) {
            return std::nullopt;
        }
        auto file = files.front();
        files.pop_front();
        return file;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) {
            texts.push_back(s.text);
        }
        return texts;
    }
};

}  // namespace quorlet::testing
