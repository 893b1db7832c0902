// A small dialog whose confirm button checks what was entered first: the first problem is shown
// in a message box and the dialog stays open; without a problem it closes with OK. Enter confirms
// the same way; the cancel button closes without taking anything over.
#pragma once

#include <optional>
#include <string>

#include "platform/prompter.h"
#include "ui/dialog.h"

namespace quorlet {

class CCheckedDialog : public ui::CDialog {
public:
    // The problem box's title and icon: "信息" (information) or "提示" (notice).
    enum class ProblemBox { Information, Notice };

    CCheckedDialog(int templateId, int okButton, int cancelButton, ProblemBox box,
                   Prompter& prompter)
        : CDialog(templateId, okButton, cancelButton), m_prompter(prompter), m_box(box) {}

protected:
    // The problem with the members as the controls left them; nullopt when there is none.
    virtual std::optional<std::string> Problem() const = 0;

    void OnOK() override;

    Prompter& m_prompter;

private:
    ProblemBox m_box;
};

}  // namespace quorlet
